#include "LineOptions.h"

#include <map>
#include <vector>

const char* const kUsageExitCodeHelp =
    "A command line that cannot be used (an unknown option, a malformed --tcp, --port or "
    "--baud) ends with exit code 2.";

namespace {

const std::map<std::string, int> kFlowNames{
    {"none", 0}, {"rtscts", 1}, {"xonxoff", 2}, {"both", 3}};
const std::map<std::string, int> kParityNames{{"none", 0}, {"odd", 1}, {"even", 2}};
const std::map<std::string, int> kStopBitNames{{"1", 0}, {"2", 2}};

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

void AddLineOptions(CLI::App& command, ChannelConfig& line, std::string& tcp,
                    std::span<const unsigned> speeds) {
    auto* port = command.add_option("--port", line.portName, "serial device of the printer");
    auto* network = command.add_option("--tcp", tcp, "HOST:PORT of a printer on the network");
    port->excludes(network);
    command.add_option("--baud", line.baudRate, "line speed in bit/s")
        ->check(CLI::IsMember(std::vector<unsigned>(speeds.begin(), speeds.end())))
        ->capture_default_str();
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

void ResolveLine(ChannelConfig& line, const std::string& tcp) {
    if (tcp.empty()) {
        if (line.portName.empty()) {
            throw CLI::RequiredError("--port or --tcp");
        }
        return;
    }
    const auto peer = ParseHostPort(tcp);
    if (!peer) {
        throw CLI::ValidationError("--tcp", "expected HOST:PORT with a port from 1 to 65535");
    }
    line.interfaceName = "TCP";
    line.host = peer->host;
    line.hostPort = peer->port;
}
