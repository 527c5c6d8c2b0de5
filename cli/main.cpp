// tq20: the configurator's printer conversation from the command line, for scripts and
// production lines.
#include <CLI/CLI.hpp>
#include <iostream>
#include <map>

#include "CMiniPrinter.h"
#include "CommandTable.h"
#include "ConsoleNotifier.h"
#include "ReplyWaiter.h"
#include "SettingsText.h"

namespace {

// Exit codes, one per way a command can end.
enum ExitCode : int {
    kExitOk = 0,
    kExitPortNotOpened = 3,
    kExitTimeout = 4,
    kExitBadReply = 5,
};

const std::map<std::string, int> kFlowNames{
    {"none", 0}, {"rtscts", 1}, {"xonxoff", 2}, {"both", 3}};
const std::map<std::string, int> kParityNames{{"none", 0}, {"odd", 1}, {"even", 2}};
const std::map<std::string, int> kStopBitNames{{"1", 0}, {"2", 2}};

struct LineOptions {
    std::string port;
    unsigned baud = 115200;
    int parity = 0;
    int flow = 1;
    int stopBits = 0;
};

void AddLineOptions(CLI::App& command, LineOptions& line) {
    command.add_option("--port", line.port, "serial device of the printer")->required();
    command.add_option("--baud", line.baud, "line speed in bit/s")->capture_default_str();
    command.add_option("--flow", line.flow, "none, rtscts, xonxoff or both")
        ->transform(CLI::CheckedTransformer(kFlowNames))
        ->capture_default_str();
    command.add_option("--parity", line.parity, "none, odd or even")
        ->transform(CLI::CheckedTransformer(kParityNames));
    command.add_option("--stop-bits", line.stopBits, "1 or 2")
        ->transform(CLI::CheckedTransformer(kStopBitNames));
}

int ReadSettings(const LineOptions& line, bool asJson) {
    CConsoleNotifier notifier;
    CNoPrinterQueues queues;
    CReplyWaiter waiter;
    CMiniPrinter printer(notifier, queues);
    if (!printer.Connect(&waiter, line.port, line.baud, line.parity, line.flow, line.stopBits)) {
        return kExitPortNotOpened;
    }
    printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, PrinterSettings::kSize);
    // The channel's own watch ends the wait; the margin only guards against a lost notification.
    const auto answer = waiter.Wait(kReplyWatch * 2);
    if (!answer || answer->message == WM_CHANNEL_TIMEOUT) {
        std::cerr << "Истекло время ожидания ответа от принтера\n";
        return kExitTimeout;
    }
    if (answer->bytes.size() != PrinterSettings::kSize) {
        std::cerr << "Ошибка связи. Выберите режим Xon/Xoff для управления потоком.\n";
        return kExitBadReply;
    }
    const auto settings =
        PrinterSettings::FromBytes(std::span<const std::uint8_t, PrinterSettings::kSize>(
            answer->bytes.data(), PrinterSettings::kSize));
    if (asJson) {
        std::cout << SettingsAsJson(settings).dump(2) << '\n';
    } else {
        std::cout << SettingsAsText(settings);
    }
    return kExitOk;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"tq20: read and change the settings of a TQ-20 receipt printer."};
    app.footer(
        "Exit codes: 0 done, 3 the port does not open, 4 the printer did not answer in time, "
        "5 the printer's answer has the wrong length, other values: wrong command line.");
    app.require_subcommand(1);
    LineOptions line;
    bool asJson = false;
    CLI::App* settings = app.add_subcommand("settings", "the printer's settings record");
    settings->require_subcommand(1);
    CLI::App* read = settings->add_subcommand("read", "print every setting by its name");
    AddLineOptions(*read, line);
    read->add_flag("--json", asJson, "print the settings as JSON");
    CLI11_PARSE(app, argc, argv);
    if (read->parsed()) {
        return ReadSettings(line, asJson);
    }
    return kExitOk;
}
