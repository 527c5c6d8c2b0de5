#pragma once

#include <string>

struct ToolOutcome {
    int exitCode;        // -1 when the program did not exit by itself (a crash, an abort)
    std::string output;  // standard output and standard error together
};

// Runs a shell command line and collects what it printed.
ToolOutcome RunCommand(const std::string& commandLine);
