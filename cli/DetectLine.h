#pragma once

#include <nlohmann/json.hpp>

#include "ChannelConfig.h"
#include "JobProgress.h"

// Searches the line of the printer on the serial port as "tq20 detect" does, printing what it
// prints and adding its JSON; when the printer answered, found is the port at its line.
// detect's exit code.
int DetectLine(const ChannelConfig& line, IJobProgress& progress, nlohmann::json& details,
               ChannelConfig& found);
