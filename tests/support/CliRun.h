#pragma once

#include <sys/wait.h>

#include <cstdio>
#include <string>

// What one run of tq20 gave: its exit code and everything it printed.
struct Outcome {
    int exitCode;
    std::string output;
};

// The wrapper goes before the program, e.g. "timeout 10 ".
inline Outcome RunTool(const std::string& arguments, const std::string& wrapper = "") {
    const std::string command = wrapper + TQ20_CLI + " " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
