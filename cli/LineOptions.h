#pragma once

#include <CLI/CLI.hpp>
#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "ChannelConfig.h"
#include "ExitCodes.h"
#include "LineItems.h"
#include "LoadSpeeds.h"

extern const char* const kUsageExitCodeHelp;
extern const char* const kManyPrintersHelp;

// The speeds the settings commands take: the printer's own, slowest first.
inline constexpr std::array<unsigned, kPrinterPortSpeeds.size()> kSettingsSpeeds = [] {
    std::array<unsigned, kPrinterPortSpeeds.size()> speeds{};
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        speeds[i] = kPrinterPortSpeeds[speeds.size() - 1 - i];
    }
    return speeds;
}();

struct HostPort {
    std::string host;
    int port = 0;
};

// "HOST:PORT" with a host and a port number from 1 to 65535; empty for anything else.
std::optional<HostPort> ParseHostPort(const std::string& text);

// The serial devices named with --port (several for the commands that serve many printers at
// once) and --ports-file.
struct PortList {
    std::vector<std::string> names;
    std::string file;
};

// The printer's line: a serial device at one of the offered speeds, or a TCP host:port.
void AddLineOptions(CLI::App& command, ChannelConfig& line, std::string& tcp, PortList& ports,
                    std::span<const unsigned> speeds);
// Lets a command serve several printers at once: --port more than once, --ports-file, and
// --json for one object per printer.
void AddManyPrinterOptions(CLI::App& command, PortList& ports, bool& asJson);
void AddFramingOptions(CLI::App& command, ChannelConfig& line);
// Checks that a line was named and turns --tcp, --port and --ports-file into one channel
// configuration per printer, in the order given; throws CLI's validation errors, which the
// command line reports as usage errors. A device named twice is refused: both would want it.
std::vector<ChannelConfig> ResolveLines(const ChannelConfig& line, const std::string& tcp,
                                        const PortList& ports);
