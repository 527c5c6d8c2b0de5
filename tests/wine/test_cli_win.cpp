#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "LoaderFiles.h"

namespace {

struct Outcome {
    int exitCode;
    std::string output;
};

// The build folder's path as Wine shows it: the build machine's root is drive Z:.
std::string WindowsPath(std::string path) {
    if (!path.empty() && path.front() == '/') {
        path.insert(0, "Z:");
    }
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

Outcome RunTool(const std::string& arguments) {
    // cmd.exe drops the first and the last quote of its command: one more pair keeps the rest.
    const std::string command = "\"\"" + WindowsPath(TQ20_CLI) + "\" " + arguments + " 2>&1\"";
    std::FILE* pipe = ::_popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    return {::_pclose(pipe), output};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* com = std::getenv("TQ20_TEST_COM");
        if (com == nullptr) {
            GTEST_SKIP() << "run through wine-run.sh, which links COM5 to the simulator";
        }
        m_port = std::string("--port ") + com;
    }
    std::string m_port;
};

TEST_F(CliTest, SetsAndReadsBackASetting) {
    const Outcome set = RunTool("settings set " + m_port + " contrast=12");
    EXPECT_EQ(set.exitCode, 0) << set.output;
    const Outcome text = RunTool("settings read " + m_port);
    EXPECT_EQ(text.exitCode, 0) << text.output;
    EXPECT_NE(text.output.find("contrast = 12"), std::string::npos) << text.output;
    const Outcome back = RunTool("settings set " + m_port + " contrast=8");
    EXPECT_EQ(back.exitCode, 0) << back.output;
}

TEST_F(CliTest, ShowsTheServiceInformation) {
    const Outcome info = RunTool("settings info " + m_port);
    EXPECT_EQ(info.exitCode, 0) << info.output;
    EXPECT_FALSE(info.output.empty());
}

TEST_F(CliTest, LoadsAFont) {
    const TempFile font("font.fnt", FontFileBytes("", Pattern(700, 2)));
    const Outcome load = RunTool("load " + m_port + " \"" + font.Path() + "\"");
    EXPECT_EQ(load.exitCode, 0) << load.output;
    EXPECT_NE(load.output.find("Шрифт успешно загружен в принтер."), std::string::npos)
        << load.output;
}

TEST_F(CliTest, AMissingPortIsReportedWithItsExitCode) {
    const Outcome missing = RunTool("settings read --port COM9");
    EXPECT_EQ(missing.exitCode, 3) << missing.output;
}

}  // namespace
