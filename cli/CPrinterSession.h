#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "CMiniPrinter.h"
#include "ChannelConfig.h"
#include "ConsoleNotifier.h"
#include "ExitCodes.h"
#include "PrinterRequest.h"
#include "ProgramQueues.h"
#include "ReplyWaiter.h"

// tq20's line to one printer, one request at a time. Every failure is printed with the sentence
// the window would show, and remembered as an exit code.
class CPrinterSession {
public:
    explicit CPrinterSession(const ChannelConfig& line);

    bool Open();
    void Close() { m_printer.Disconnect(); }
    // Reconnects with other line settings, as after a change of the printer's own port.
    bool Reopen(const ChannelConfig& line);
    // Sends the request and, when it awaits one, blocks until its reply; empty on a failure.
    std::optional<std::vector<std::uint8_t>> Request(const PrinterRequest& request);
    bool Save(const PrinterSettings& settings, int group, int mask);
    // Sends what is to be printed; false, after printing why, when not all of it left.
    bool Print(std::span<const std::uint8_t> bytes);
    int ExitCode() const { return m_exitCode; }
    // A failure worded by the caller: its text goes to the error stream.
    void Fail(const std::string& text, int exitCode);
    const ChannelConfig& Line() const { return m_line; }

private:
    std::optional<std::vector<std::uint8_t>> AwaitReply();

    ChannelConfig m_line;
    CConsoleNotifier m_notifier;
    CReplyWaiter m_waiter;
    CMiniPrinter m_printer{ProgramQueues()};
    int m_exitCode = kSettingsDone;
};
