#include "CPrinterSession.h"

#include "Console.h"

#include "CommandTable.h"
#include "ConfiguratorStrings.h"
#include "LineNotices.h"
#include "PrinterNotices.h"

CPrinterSession::CPrinterSession(const ChannelConfig& line) : m_line(line) {}

bool CPrinterSession::Open() {
    const bool connected = m_printer.Connect(&m_waiter, m_line);
    ShowConnectNotices(m_notifier, m_printer);
    if (!connected) {
        m_exitCode = kSettingsPortNotOpened;
        return false;
    }
    return true;
}

bool CPrinterSession::Reopen(const ChannelConfig& line) {
    m_printer.Disconnect();
    m_line = line;
    return Open();
}

std::optional<std::vector<std::uint8_t>> CPrinterSession::AwaitReply() {
    const auto answer = m_waiter.WaitForEnd();
    if (answer.message == WM_CHANNEL_LINE_LOST) {
        ShowLineLoss(m_notifier, m_printer.LastLineLoss());
        Err() << ConfigString(IDS_LINE_LOST) << '\n';
        m_exitCode = kSettingsLineLost;
        return std::nullopt;
    }
    if (answer.message != WM_CHANNEL_REPLY) {
        Err() << ConfigString(IDS_REPLY_TIMEOUT) << '\n';
        m_exitCode = kSettingsTimeout;
        return std::nullopt;
    }
    return answer.bytes;
}

std::optional<PrinterSettings> CPrinterSession::ReadSettings() {
    if (!m_printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, PrinterSettings::kSize)) {
        ShowPrinterRefusal(m_notifier, m_printer);
        m_exitCode = kSettingsPortNotOpened;
        return std::nullopt;
    }
    const auto reply = AwaitReply();
    if (!reply) {
        return std::nullopt;
    }
    if (reply->size() != PrinterSettings::kSize) {
        Err() << ConfigString(IDS_BAD_REPLY) << '\n';
        m_exitCode = kSettingsBadReply;
        return std::nullopt;
    }
    return PrinterSettings::FromBytes(
        std::span<const std::uint8_t, PrinterSettings::kSize>(reply->data(), reply->size()));
}

std::optional<std::vector<std::uint8_t>> CPrinterSession::Ask(
    int command, std::uint8_t parameter, std::optional<std::uint8_t> terminator, int replyLength) {
    const bool sent = terminator
                          ? m_printer.SendCommandWithTerminator(
                                command, &parameter, 1, kReplyKindTerminator, &*terminator, 1)
                          : m_printer.SendCommand(command, &parameter, 1, true, replyLength);
    if (!sent) {
        ShowPrinterRefusal(m_notifier, m_printer);
        m_exitCode = kSettingsPortNotOpened;
        return std::nullopt;
    }
    return AwaitReply();
}

void CPrinterSession::Send(int command) {
    if (!m_printer.SendCommand(command, nullptr, 0, false, 0)) {
        ShowPrinterRefusal(m_notifier, m_printer);
    }
}

bool CPrinterSession::Save(const PrinterSettings& settings, int group, int mask) {
    if (!m_printer.SaveOptions(settings, group, mask)) {
        ShowPrinterRefusal(m_notifier, m_printer);
        return false;
    }
    return true;
}
