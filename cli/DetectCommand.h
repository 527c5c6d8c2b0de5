#pragma once

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "ChannelConfig.h"
#include "ExitCodes.h"
#include "JobProgress.h"
#include "LineOptions.h"

extern const char* const kDetectExitCodesHelp;

// Finds the line settings of the printer on line.portName and prints them with the options
// that reach it; details receives the same as JSON fields.
int RunDetect(const ChannelConfig& line, IJobProgress& progress, nlohmann::json& details);

// "tq20 detect --port DEV": its options go into ports and asJson.
CLI::App* AddDetectCommand(CLI::App& app, PortList& ports, bool& asJson);
