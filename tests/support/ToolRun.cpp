#include "ToolRun.h"

#include <sys/wait.h>

#include <cstdio>

ToolOutcome RunCommand(const std::string& commandLine) {
    const std::string command = commandLine + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return {-1, "cannot start: " + commandLine};
    }
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}
