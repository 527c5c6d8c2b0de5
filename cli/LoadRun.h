#pragma once

#include <string>

#include "ChannelConfig.h"
#include "JobProgress.h"

// Loads a program or font file into the printer on the line, as "tq20 load" does: the file
// checked first, the port's printer queues held meanwhile, the progress shown, every ending
// printed in the loader's words. The load's exit code.
int LoadDataFile(const ChannelConfig& line, const std::string& path, IJobProgress& progress);
