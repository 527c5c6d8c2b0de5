#include "SettingsWriter.h"

#include "Console.h"
#include "ConversationRunner.h"
#include "FlowCharacters.h"
#include "SettingValues.h"

namespace {

// One line per value the flow-control rule changed, naming the field and the value stored.
void ReportFlowCharacters(const std::vector<FlowCharacterChange>& changes) {
    for (const FlowCharacterChange& change : changes) {
        Err() << FlowFieldName(change.byteIndex) << ": сохранено "
              << static_cast<int>(change.stored) << " вместо " << static_cast<int>(change.wanted)
              << " (при управлении потоком Xon/Xoff байты 17 и 19 не передаются)\n";
    }
}

}  // namespace

SettingsWrite WriteOfFields(const PrinterSettings& current, const PrinterSettings& wanted,
                            const std::vector<std::size_t>& fields) {
    auto bytes = current.ToBytes();
    const auto wantedBytes = wanted.ToBytes();
    SettingsWrite write;
    for (std::size_t index : fields) {
        const auto bit = OptionBitOf(index);
        if (bit && wantedBytes[index] != bytes[index]) {
            bytes[index] = wantedBytes[index];
            write.masks[static_cast<std::size_t>(bit->group)] |= bit->maskBit;
        }
    }
    write.record = PrinterSettings::FromBytes(bytes);
    write.checkedFields = fields;
    return write;
}

bool WriteSettings(CPrinterSession& session, CSettingsConversation::Compose compose) {
    if (!session.Open()) {
        return false;
    }
    CSettingsConversation conversation;
    return RunConversation(
        session, conversation,
        conversation.StartSave(std::move(compose), session.Line().flowControl),
        [](const ConversationStep& step) { ReportFlowCharacters(step.flowChanges); });
}
