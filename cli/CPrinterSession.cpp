#include "CPrinterSession.h"

#include "ConfiguratorStrings.h"
#include "Console.h"
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
        Fail(ConfigString(IDS_LINE_LOST), kSettingsLineLost);
        return std::nullopt;
    }
    if (answer.message != WM_CHANNEL_REPLY) {
        // Most often the printer is on another line: the line search finds it.
        Fail(std::string(ConfigString(IDS_REPLY_TIMEOUT)) + '\n' +
                 ConfigString(IDS_TIMEOUT_DETECT_HINT),
             kSettingsTimeout);
        return std::nullopt;
    }
    return answer.bytes;
}

std::optional<std::vector<std::uint8_t>> CPrinterSession::Request(const PrinterRequest& request) {
    if (!SendRequest(m_printer, request)) {
        ShowPrinterRefusal(m_notifier, m_printer);
        m_exitCode = kSettingsPortNotOpened;
        return std::nullopt;
    }
    if (!request.AwaitsReply()) {
        return std::vector<std::uint8_t>{};
    }
    return AwaitReply();
}

bool CPrinterSession::Save(const PrinterSettings& settings, int group, int mask) {
    if (!m_printer.SaveOptions(settings, group, mask)) {
        ShowPrinterRefusal(m_notifier, m_printer);
        return false;
    }
    return true;
}

bool CPrinterSession::Print(std::span<const std::uint8_t> bytes) {
    if (!m_printer.SendPrintData(bytes)) {
        Fail(ConfigString(IDS_TEST_PRINT_NOT_SENT), kSettingsLineLost);
        return false;
    }
    return true;
}

void CPrinterSession::Fail(const std::string& text, int exitCode) {
    Err() << text << '\n';
    m_exitCode = exitCode;
}
