#pragma once

#include <chrono>
#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "ChannelConfig.h"
#include "JobProgress.h"

// One port's part of a run: its exit code, what it would have printed, how long it took, and
// whatever a command adds to its JSON object.
struct PortOutcome {
    std::string port;
    int exitCode = 0;
    std::string out;
    std::string err;
    std::chrono::milliseconds elapsed{0};
    nlohmann::json details = nlohmann::json::object();
};

using PortJob =
    std::function<int(const ChannelConfig& line, IJobProgress& progress, nlohmann::json& details)>;

// The name a line goes by in reports: its device, or HOST:PORT.
std::string LineName(const ChannelConfig& line);

// Runs the job on every line at once, one thread per line, with one progress line per port on
// standard error. Each thread's output is collected, not printed.
std::vector<PortOutcome> RunOnPorts(const std::vector<ChannelConfig>& lines, const PortJob& job);

// Prints the outcomes (each port's messages, then a table of port, result and time; or one JSON
// object per line and port) and returns the run's exit code: 0 when every port succeeded,
// otherwise the code of the first port, in the order given, that failed.
int ReportOutcomes(const std::vector<PortOutcome>& outcomes, bool asJson);

// The one sentence that sums up a port's outcome: the last line printed on success, the first
// line of the failure's message otherwise.
std::string ResultText(const PortOutcome& outcome);

// One printer without --json runs as it always has, printing straight to the console with a
// progress bar on standard error; anything else goes through RunOnPorts and ReportOutcomes.
int RunOnLines(const std::vector<ChannelConfig>& lines, bool asJson, const PortJob& job);
