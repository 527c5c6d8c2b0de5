#include "SettingsWriter.h"

#include <array>
#include <chrono>
#include <thread>
#include "Console.h"

#include "CommandTable.h"
#include "ConversationTimings.h"
#include "FlowCharacters.h"
#include "OptionFrame.h"
#include "PrinterLine.h"
#include "SettingValues.h"

namespace {

constexpr int kGroups = kGroupPrinterPort + 1;

bool ChangePort(CPrinterSession& session, const PrinterSettings& record) {
    session.Save(record, kGroupPrinterPort, 0x01);
    std::this_thread::sleep_for(kPortSettleDelay);
    session.Close();
    std::this_thread::sleep_for(kPortSettleDelay);
    if (!session.Reopen(LineAt(session.Line(), PrinterLineOf(record)))) {
        return false;
    }
    std::this_thread::sleep_for(kStoreAfterReconnectDelay);
    session.Send(CMD_STORE_SETTINGS);
    return true;
}

// One line per value the flow-control rule changed, naming the field and the value stored.
void ReportFlowCharacters(const std::vector<FlowCharacterChange>& changes) {
    for (const FlowCharacterChange& change : changes) {
        Err() << FlowFieldName(change.byteIndex) << ": сохранено "
              << static_cast<int>(change.stored) << " вместо " << static_cast<int>(change.wanted)
              << " (при управлении потоком Xon/Xoff байты 17 и 19 не передаются)\n";
    }
}

bool ReadBack(CPrinterSession& session, const PrinterSettings& wanted,
              const std::vector<std::size_t>& fields) {
    const auto stored = session.ReadSettings();
    if (!stored) {
        return false;
    }
    const auto want = wanted.ToBytes();
    const auto have = stored->ToBytes();
    for (std::size_t index : fields) {
        if (want[index] != have[index]) {
            Err() << "The printer did not take " << SettingName(index) << ": it holds "
                  << static_cast<int>(have[index]) << ", not " << static_cast<int>(want[index])
                  << ".\n";
            session.SetExitCode(kSettingsNotTaken);
            return false;
        }
    }
    return true;
}

}  // namespace

bool WriteFields(CPrinterSession& session, const PrinterSettings& current,
                 const PrinterSettings& wanted, const std::vector<std::size_t>& fields) {
    auto bytes = current.ToBytes();
    const auto wantedBytes = wanted.ToBytes();
    std::array<int, kGroups> masks{};
    for (std::size_t index : fields) {
        const auto bit = OptionBitOf(index);
        if (bit && wantedBytes[index] != bytes[index]) {
            bytes[index] = wantedBytes[index];
            masks[static_cast<std::size_t>(bit->group)] |= bit->maskBit;
        }
    }
    PrinterSettings record = PrinterSettings::FromBytes(bytes);
    // Also when the change turns the printer's own port to software flow control: the values go
    // out on the old line, before the port changes.
    const bool softwareFlow = UsesSoftwareFlow(session.Line().flowControl, record);
    for (int group = 0; group < kGroupPrinterPort; ++group) {
        int& mask = masks[static_cast<std::size_t>(group)];
        if (softwareFlow) {
            ReportFlowCharacters(AvoidFlowCharacters(group, record, mask));
        }
        if (mask != 0) {
            session.Save(record, group, mask);
        }
    }
    if (masks[kGroupPrinterPort] != 0 && !ChangePort(session, record)) {
        return false;
    }
    return ReadBack(session, record, fields);
}
