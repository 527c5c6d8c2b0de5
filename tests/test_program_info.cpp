#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "ToolRun.h"
#include "Tq20Version.h"

namespace {

using Outcome = ToolOutcome;

// As in a script or an ssh session: no display of any kind, and no offscreen platform either.
Outcome RunWithoutDisplay(const std::string& program, const std::string& option) {
    return RunCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + program + " " +
                      option);
}

struct Program {
    const char* name;
    const char* path;
    const char* ownOption;  // one of its options that --help must list
};

const Program kPrograms[] = {
    {"tq20", TQ20_CLI, "settings"},
    {"tq20-sim", TQ20_SIM, "--link"},
#ifdef TQ20_VELKOR
    {"Velkor", TQ20_VELKOR, "--port"},
    {"Loader", TQ20_LOADER, "--version"},
#endif
};

TEST(ProgramInfo, VersionAndHelpNeedNoDisplay) {
    for (const Program& program : kPrograms) {
        SCOPED_TRACE(program.name);
        const Outcome version = RunWithoutDisplay(program.path, "--version");
        EXPECT_EQ(version.exitCode, 0);
        EXPECT_EQ(version.output, std::string(program.name) + " " + kTq20Version + "\n");
        const Outcome help = RunWithoutDisplay(program.path, "--help");
        EXPECT_EQ(help.exitCode, 0) << help.output;
        EXPECT_NE(help.output.find(program.ownOption), std::string::npos) << help.output;
    }
}

}  // namespace
