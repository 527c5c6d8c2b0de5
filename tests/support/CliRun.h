#pragma once

#include <string>

#include "ToolRun.h"

// What one run of tq20 gave: its exit code and everything it printed.
using Outcome = ToolOutcome;

// The wrapper goes before the program, e.g. "timeout 10 ".
inline Outcome RunTool(const std::string& arguments, const std::string& wrapper = "") {
    return RunCommand(wrapper + TQ20_CLI + " " + arguments);
}
