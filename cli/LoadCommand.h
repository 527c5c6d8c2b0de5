#pragma once

#include <string>

#include "ChannelConfig.h"
#include "ExitCodes.h"
#include "JobProgress.h"

extern const char* const kLoadExitCodesHelp;

// Loads a program or font file into the printer on the line, showing how far it is.
int RunLoad(const ChannelConfig& line, const std::string& path, IJobProgress& progress);
