// tq20: the printer conversations of the configurator and the loader from the command line,
// for scripts and production lines.
#include <CLI/CLI.hpp>
#include <map>

#include "LoadCommand.h"
#include "SettingsCommand.h"
#include "Tq20Version.h"

namespace {

const std::map<std::string, int> kFlowNames{
    {"none", 0}, {"rtscts", 1}, {"xonxoff", 2}, {"both", 3}};
const std::map<std::string, int> kParityNames{{"none", 0}, {"odd", 1}, {"even", 2}};
const std::map<std::string, int> kStopBitNames{{"1", 0}, {"2", 2}};

// The printer's line: a serial device, or a TCP host:port (a simulator, a serial server).
void AddLineOptions(CLI::App& command, ChannelConfig& line, std::string& tcp) {
    auto* port = command.add_option("--port", line.portName, "serial device of the printer");
    auto* network = command.add_option("--tcp", tcp, "HOST:PORT of a printer on the network");
    port->excludes(network);
    command.add_option("--baud", line.baudRate, "line speed in bit/s")->capture_default_str();
}

void AddFramingOptions(CLI::App& command, ChannelConfig& line) {
    command.add_option("--flow", line.flowControl, "none, rtscts, xonxoff or both")
        ->transform(CLI::CheckedTransformer(kFlowNames))
        ->capture_default_str();
    command.add_option("--parity", line.parity, "none, odd or even")
        ->transform(CLI::CheckedTransformer(kParityNames));
    command.add_option("--stop-bits", line.stopBits, "1 or 2")
        ->transform(CLI::CheckedTransformer(kStopBitNames));
}

// Checks that exactly one line was named and turns --tcp into the channel's terms.
void ResolveLine(ChannelConfig& line, const std::string& tcp) {
    if (tcp.empty()) {
        if (line.portName.empty()) {
            throw CLI::RequiredError("--port or --tcp");
        }
        return;
    }
    const auto colon = tcp.rfind(':');
    if (colon == std::string::npos) {
        throw CLI::ValidationError("--tcp", "expected HOST:PORT");
    }
    line.interfaceName = "TCP";
    line.host = tcp.substr(0, colon);
    line.hostPort = std::stoi(tcp.substr(colon + 1));
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{
        "tq20: read the settings of a TQ-20 receipt printer and load its firmware "
        "and fonts."};
    app.set_version_flag("--version", std::string("tq20 ") + kTq20Version);
    app.require_subcommand(1);

    ChannelConfig line;
    line.flowControl = 1;
    std::string tcp;
    bool asJson = false;
    std::vector<std::string> assignments;
    std::string path;
    std::string which;
    CLI::App* settings = app.add_subcommand("settings", "the printer's settings record");
    settings->require_subcommand(1);
    settings->footer(kSettingsExitCodesHelp);
    const auto withLine = [&](CLI::App* command) {
        command->footer(kSettingsExitCodesHelp);
        AddLineOptions(*command, line, tcp);
        AddFramingOptions(*command, line);
        return command;
    };
    CLI::App* read = withLine(settings->add_subcommand("read", "print every setting by name"));
    read->add_flag("--json", asJson, "print the settings as JSON");
    CLI::App* set = withLine(settings->add_subcommand("set", "change settings, FIELD=VALUE"));
    set->add_option("ASSIGNMENTS", assignments, "for example contrast=12 fontMode=0x50")
        ->required();
    CLI::App* save = withLine(settings->add_subcommand("save", "write the settings to a file"));
    save->add_option("FILE", path, "a JSON file")->required();
    CLI::App* restoreFile =
        withLine(settings->add_subcommand("restore-file", "write settings saved in a file"));
    restoreFile->add_option("FILE", path, "a file written by save")->required();
    CLI::App* info = withLine(settings->add_subcommand("info", "service information and state"));
    CLI::App* restore =
        withLine(settings->add_subcommand("restore", "the factory or the saved settings"));
    restore->add_option("WHICH", which, "factory or saved")
        ->required()
        ->check(CLI::IsMember({"factory", "saved"}));

    CLI::App* load = app.add_subcommand("load", "load a program (*.bin) or font (*.fnt) file");
    load->footer(kLoadExitCodesHelp);
    AddLineOptions(*load, line, tcp);
    load->add_option("FILE", path, "the program or font file")->required();

    try {
        app.parse(argc, argv);
        ResolveLine(line, tcp);
    } catch (const CLI::ParseError& error) {
        return app.exit(error);
    }
    if (load->parsed()) {
        return RunLoad(line, path);
    }
    if (read->parsed()) {
        return RunSettingsRead(line, asJson);
    }
    if (set->parsed()) {
        return RunSettingsSet(line, assignments);
    }
    if (save->parsed()) {
        return RunSettingsSave(line, path);
    }
    if (restoreFile->parsed()) {
        return RunSettingsRestoreFile(line, path);
    }
    if (info->parsed()) {
        return RunSettingsInfo(line);
    }
    return RunSettingsRestore(line, which);
}
