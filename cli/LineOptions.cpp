#include "LineOptions.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <vector>

#include "PrinterLine.h"

const char* const kManyPrintersHelp =
    "Several printers (--port more than once, or --ports-file) are served at once, with one "
    "progress line each and a table of port, result and time at the end; the exit code is 0 "
    "when every printer succeeded, otherwise that of the first printer named that failed.";

const char* const kUsageExitCodeHelp =
    "A command line that cannot be used (an unknown option, a malformed --tcp, --port or "
    "--baud) ends with exit code 2.";

namespace {

// The options' names and the numbers that the help shows for them (and accepts in their place);
// the flow numbers are those of the window's flow list.
const std::map<std::string, int> kFlowNames{
    {"none", 0}, {"rtscts", 1}, {"xonxoff", 2}, {"both", 3}};
const std::map<std::string, int> kParityNames{{"none", 0}, {"odd", 1}, {"even", 2}};
const std::map<std::string, int> kStopBitNames{{"1", 0}, {"2", 2}};

Parity ParityOfCode(int code) {
    return code == 1 ? Parity::Odd : code == 2 ? Parity::Even : Parity::None;
}

// One device per line; blank lines and everything after # are left out.
std::vector<std::string> ReadPortsFile(const std::string& path) {
    std::ifstream in(path);
    if (!in) {
        throw CLI::ValidationError("--ports-file", "cannot read " + path);
    }
    std::vector<std::string> names;
    for (std::string text; std::getline(in, text);) {
        text = text.substr(0, text.find('#'));
        const auto first = text.find_first_not_of(" \t\r");
        if (first != std::string::npos) {
            names.push_back(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
        }
    }
    return names;
}

}  // namespace

std::optional<HostPort> ParseHostPort(const std::string& text) {
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0 || colon + 1 == text.size() ||
        text.size() - colon - 1 > 5) {
        return std::nullopt;
    }
    int port = 0;
    for (char digit : text.substr(colon + 1)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        port = port * 10 + (digit - '0');
    }
    if (port < 1 || port > 65535) {
        return std::nullopt;
    }
    return HostPort{text.substr(0, colon), port};
}

void AddLineOptions(CLI::App& command, ChannelConfig& line, std::string& tcp, PortList& ports,
                    std::span<const unsigned> speeds) {
    auto* port = command.add_option("--port", ports.names, "serial device of the printer")
                     ->allow_extra_args(false);
    auto* network = command.add_option("--tcp", tcp, "HOST:PORT of a printer on the network");
    port->excludes(network);
    command.add_option("--baud", line.baudRate, "line speed in bit/s")
        ->check(CLI::IsMember(std::vector<unsigned>(speeds.begin(), speeds.end())))
        ->capture_default_str();
}

void AddFramingOptions(CLI::App& command, ChannelConfig& line) {
    command
        .add_option_function<int>(
            "--flow", [&line](int code) { line.flowControl = FlowAt(code); },
            "none, rtscts, xonxoff or both")
        ->transform(CLI::CheckedTransformer(kFlowNames))
        ->default_str(std::to_string(FlowIndexOf(line.flowControl)));
    command
        .add_option_function<int>(
            "--parity", [&line](int code) { line.parity = ParityOfCode(code); },
            "none, odd or even")
        ->transform(CLI::CheckedTransformer(kParityNames));
    command
        .add_option_function<int>(
            "--stop-bits",
            [&line](int code) { line.stopBits = code == 2 ? StopBits::Two : StopBits::One; },
            "1 or 2")
        ->transform(CLI::CheckedTransformer(kStopBitNames));
}

void AddManyPrinterOptions(CLI::App& command, PortList& ports, bool& asJson) {
    command.get_option("--port")->description(
        "serial device of a printer; more than once for several printers at once");
    auto* file =
        command.add_option("--ports-file", ports.file,
                           "a file naming one serial device per line (# starts a comment)");
    if (auto* tcp = command.get_option_no_throw("--tcp")) {
        file->excludes(tcp);
    }
    command.add_flag("--json", asJson, "print one JSON object per printer instead of the table");
    command.footer(command.get_footer() + "\n" + kManyPrintersHelp);
}

std::vector<ChannelConfig> ResolveLines(const ChannelConfig& line, const std::string& tcp,
                                        const PortList& ports) {
    if (!tcp.empty()) {
        const auto peer = ParseHostPort(tcp);
        if (!peer) {
            throw CLI::ValidationError("--tcp", "expected HOST:PORT with a port from 1 to 65535");
        }
        ChannelConfig network = line;
        network.transport = TransportKind::Tcp;
        network.host = peer->host;
        network.hostPort = peer->port;
        return {network};
    }
    std::vector<std::string> names = ports.names;
    if (!ports.file.empty()) {
        const auto listed = ReadPortsFile(ports.file);
        names.insert(names.end(), listed.begin(), listed.end());
    }
    if (names.empty()) {
        throw CLI::RequiredError("--port or --tcp");
    }
    std::vector<ChannelConfig> lines;
    for (const std::string& name : names) {
        if (std::count(names.begin(), names.end(), name) > 1) {
            throw CLI::ValidationError("--port", name + " is named more than once");
        }
        ChannelConfig serial = line;
        serial.portName = name;
        lines.push_back(serial);
    }
    return lines;
}
