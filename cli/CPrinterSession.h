#pragma once

#include <optional>
#include <string>
#include <vector>

#include "CMiniPrinter.h"
#include "ChannelConfig.h"
#include "ConsoleNotifier.h"
#include "ExitCodes.h"
#include "ProgramQueues.h"
#include "ReplyWaiter.h"

// The configurator's conversation, one request at a time, for the command line. Every failure
// is printed with the sentence the window would show, and remembered as an exit code.
class CPrinterSession {
public:
    explicit CPrinterSession(const ChannelConfig& line);

    bool Open();
    void Close() { m_printer.Disconnect(); }
    // Reconnects with other line settings, as after a change of the printer's own port.
    bool Reopen(const ChannelConfig& line);
    std::optional<PrinterSettings> ReadSettings();
    // The reply to a request that ends in the terminator byte, or with a fixed length.
    std::optional<std::vector<std::uint8_t>> Ask(int command, std::uint8_t parameter,
                                                 std::optional<std::uint8_t> terminator,
                                                 int replyLength);
    void Send(int command);
    bool Save(const PrinterSettings& settings, int group, int mask);
    int ExitCode() const { return m_exitCode; }
    void SetExitCode(int code) { m_exitCode = code; }
    const ChannelConfig& Line() const { return m_line; }

private:
    std::optional<std::vector<std::uint8_t>> AwaitReply();

    ChannelConfig m_line;
    CConsoleNotifier m_notifier;
    CReplyWaiter m_waiter;
    CMiniPrinter m_printer{ProgramQueues()};
    int m_exitCode = kSettingsDone;
};
