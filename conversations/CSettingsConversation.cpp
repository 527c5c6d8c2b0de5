#include "CSettingsConversation.h"

#include <utility>

#include "CommandTable.h"
#include "ConversationTimings.h"
#include "FactoryLine.h"
#include "InfoText.h"

namespace {

constexpr int kInfoItems = 9;

ConversationStep Finished(ConversationStep step) {
    step.finished = true;
    return step;
}

ConversationStep LineStep(std::chrono::milliseconds pause, LineAction action, LineChoice at = {}) {
    ConversationStep step;
    step.pause = pause;
    step.line = action;
    step.reopenAt = at;
    return step;
}

ConversationStep RequestStep(PrinterRequest request, std::chrono::milliseconds pause = {}) {
    ConversationStep step;
    step.pause = pause;
    step.request = std::move(request);
    return step;
}

ConversationStep OptionStep(const PrinterSettings& record, int group, int mask) {
    ConversationStep step;
    step.options = OptionWrite{record, group, mask};
    return step;
}

}  // namespace

ConversationStep CSettingsConversation::StartRead(std::chrono::milliseconds pause) {
    return Begin(Conversation::FirstRead, {ReadStep(pause)});
}

ConversationStep CSettingsConversation::StartSave(Compose compose, FlowControl lineFlow) {
    m_compose = std::move(compose);
    m_lineFlow = lineFlow;
    return Begin(Conversation::Save, {ReadStep({})});
}

// The printer comes back at its factory line: close, wait, reopen there, read it back.
ConversationStep CSettingsConversation::StartFactoryRestore() {
    return Begin(Conversation::FactoryRestore,
                 {RequestStep(RequestWithoutReply(CMD_RESTORE_FACTORY)),
                  LineStep(kFactoryResetDelay, LineAction::Close),
                  LineStep(kFactoryResetDelay, LineAction::Reopen, kFactoryLine),
                  ReadStep(kFirstReadDelay)});
}

ConversationStep CSettingsConversation::StartSavedRestore() {
    return Begin(Conversation::SavedRestore, {RequestStep(RequestWithoutReply(CMD_RESTORE_SAVED)),
                                              ReadStep(kSavedRestoreDelay)});
}

ConversationStep CSettingsConversation::StartInfo() {
    m_infoItem = 1;
    return Begin(Conversation::Info, {InfoItemStep(m_infoItem)});
}

ConversationStep CSettingsConversation::Next() {
    return Pop();
}

ConversationStep CSettingsConversation::OnReply(std::span<const std::uint8_t> reply) {
    switch (m_awaiting) {
        case Awaiting::Record:
            if (reply.size() != PrinterSettings::kSize) {
                Abandon();
                ConversationStep bad;
                bad.badReply = true;
                return Finished(std::move(bad));
            }
            return OnRecord(PrinterSettings::FromBytes(
                std::span<const std::uint8_t, PrinterSettings::kSize>(reply.data(), reply.size())));
        case Awaiting::InfoItem:
        case Awaiting::State:
            return OnInfoReply(reply);
        case Awaiting::Nothing:
            break;
    }
    ConversationStep unasked;
    unasked.finished = m_running == Conversation::Idle;
    return unasked;
}

void CSettingsConversation::Abandon() {
    m_plan.clear();
    m_running = Conversation::Idle;
    m_awaiting = Awaiting::Nothing;
    m_compose = nullptr;
}

ConversationStep CSettingsConversation::Begin(Conversation conversation,
                                              std::deque<ConversationStep> plan) {
    m_running = conversation;
    m_plan = std::move(plan);
    m_written = false;
    return Pop();
}

ConversationStep CSettingsConversation::Pop() {
    if (m_plan.empty()) {
        Abandon();
        return Finished({});
    }
    ConversationStep step = std::move(m_plan.front());
    m_plan.pop_front();
    m_awaiting = !step.AwaitsReply()                          ? Awaiting::Nothing
                 : step.request->command == CMD_READ_SETTINGS ? Awaiting::Record
                 : step.request->command == CMD_GET_STATUS    ? Awaiting::State
                                                              : Awaiting::InfoItem;
    return step;
}

ConversationStep CSettingsConversation::OnRecord(const PrinterSettings& record) {
    if (m_running == Conversation::Save && !m_written) {
        return Write(record);
    }
    if (m_written) {
        return CheckWritten(record);
    }
    ConversationStep step = Pop();
    step.settings = record;
    return step;
}

// Every group below the port goes first, on the line that still carries it. Under software
// flow control (on this line, or on the printer's port as it is to be) the flow characters
// are kept out of every group, so that the record can still be read over that line.
ConversationStep CSettingsConversation::Write(const PrinterSettings& current) {
    m_write = m_compose(current);
    m_written = true;
    PrinterSettings& record = m_write.record;
    const bool softwareFlow = UsesSoftwareFlow(m_lineFlow, record);
    std::vector<FlowCharacterChange> flowChanges;
    for (int group = 0; group < kGroupPrinterPort; ++group) {
        int& mask = m_write.masks[static_cast<std::size_t>(group)];
        if (softwareFlow) {
            const auto changes = AvoidFlowCharacters(group, record, mask);
            flowChanges.insert(flowChanges.end(), changes.begin(), changes.end());
        }
        if (mask != 0) {
            m_plan.push_back(OptionStep(record, group, mask));
        }
    }
    if (m_write.masks[kGroupPrinterPort] != 0) {
        m_running = Conversation::PortChange;
        PlanPortChange(record);
    }
    if (!m_write.checkedFields.empty()) {
        m_plan.push_back(ReadStep({}));
    }
    ConversationStep step = Pop();
    step.settings = record;
    step.flowChanges = std::move(flowChanges);
    return step;
}

// The printer takes its new line at once: close, reopen at that line, and only then make the
// printer keep the new settings.
void CSettingsConversation::PlanPortChange(const PrinterSettings& record) {
    m_plan.push_back(OptionStep(record, kGroupPrinterPort, 0x01));
    m_plan.push_back(LineStep(kPortSettleDelay, LineAction::Close));
    m_plan.push_back(LineStep(kPortSettleDelay, LineAction::Reopen, PrinterLineOf(record)));
    m_plan.push_back(
        RequestStep(RequestWithoutReply(CMD_STORE_SETTINGS), kStoreAfterReconnectDelay));
}

ConversationStep CSettingsConversation::CheckWritten(const PrinterSettings& stored) {
    const auto wanted = m_write.record.ToBytes();
    const auto held = stored.ToBytes();
    for (std::size_t field : m_write.checkedFields) {
        if (wanted[field] != held[field]) {
            Abandon();
            ConversationStep step;
            step.settings = stored;
            step.notTaken = SettingMismatch{field, held[field], wanted[field]};
            return Finished(std::move(step));
        }
    }
    ConversationStep step = Pop();
    step.settings = stored;
    return step;
}

ConversationStep CSettingsConversation::OnInfoReply(std::span<const std::uint8_t> reply) {
    if (m_awaiting == Awaiting::State) {
        ConversationStep step = Pop();
        if (!reply.empty()) {
            step.infoText = InfoStateBlock(reply[0]);
        }
        return step;
    }
    const int item = m_infoItem;
    if (item < kInfoItems) {
        m_plan.push_back(InfoItemStep(++m_infoItem));
    } else {
        m_plan.push_back(RequestStep(StatusRequest()));
    }
    ConversationStep step = Pop();
    step.infoText = item < kInfoItems ? InfoItemLine(item, reply) : InfoFontLine(reply);
    step.infoItem = {item, InfoItemValue(item, reply)};
    return step;
}

ConversationStep CSettingsConversation::ReadStep(std::chrono::milliseconds pause) {
    return RequestStep(RequestFixedReply(CMD_READ_SETTINGS, {}, PrinterSettings::kSize), pause);
}

ConversationStep CSettingsConversation::InfoItemStep(int item) {
    return RequestStep(RequestUntilTerminator(
        CMD_GET_PRINTER_INFO, {static_cast<std::uint8_t>(item)}, InfoTerminator(item)));
}
