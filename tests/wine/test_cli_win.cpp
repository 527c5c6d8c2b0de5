#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

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

// The Windows build sends the test receipt; only the picture of it needs the Linux build.
TEST_F(CliTest, TestPrintSendsTheReceipt) {
    const Outcome printed = RunTool("test-print " + m_port);
    EXPECT_EQ(printed.exitCode, 0) << printed.output;
    const std::filesystem::path receipt =
        std::filesystem::path(std::getenv("TQ20_TEST_PAPER")) / "receipt-0001.png";
    for (int i = 0; i < 100 && !std::filesystem::exists(receipt); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_TRUE(std::filesystem::exists(receipt)) << receipt;
    const Outcome picture = RunTool("test-print " + m_port + " --preview receipt.png");
    EXPECT_EQ(picture.exitCode, 6) << picture.output;
    EXPECT_NE(picture.output.find("does not draw receipts"), std::string::npos) << picture.output;
}

// Provisioning in the Windows build: the profile's digest, the synced record and its CSV.
TEST_F(CliTest, ProvisionsAPrinterAndKeepsItsRecord) {
    const std::string text = R"({"model": "TQ-20 A0", "settings": ["contrast=9"]})";
    const TempFile profile("profile.json", std::vector<std::uint8_t>(text.begin(), text.end()));
    const std::filesystem::path folder = std::filesystem::path(profile.Path()).parent_path();
    const std::string record = (folder / "records.jsonl").string();
    const std::string run =
        "provision run \"" + profile.Path() + "\" " + m_port + " --record \"" + record + "\" --csv";
    const Outcome first = RunTool(run);
    EXPECT_EQ(first.exitCode, 0) << first.output;
    const Outcome second = RunTool(run);
    EXPECT_EQ(second.exitCode, 0) << second.output;
    EXPECT_NE(second.output.find("already done"), std::string::npos) << second.output;
    std::stringstream lines;
    lines << std::ifstream(record).rdbuf();  // closed at once: Windows keeps an open file
    EXPECT_NE(lines.str().find("\"result\":\"done\""), std::string::npos) << lines.str();
    EXPECT_NE(lines.str().find("\"result\":\"already done\""), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists(folder / "records.csv"));
    std::filesystem::remove(record);
    std::filesystem::remove(folder / "records.csv");
    EXPECT_EQ(RunTool("settings set " + m_port + " contrast=8").exitCode, 0);
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

TEST_F(CliTest, SettingsReadOverTcp) {
    const Outcome text =
        RunTool("settings read --tcp " + std::string(std::getenv("TQ20_TEST_TCP")));
    EXPECT_EQ(text.exitCode, 0) << text.output;
    EXPECT_NE(text.output.find("contrast = "), std::string::npos) << text.output;
}

// The file is replaced whole, never written in place; a device is refused as a target.
TEST_F(CliTest, SavesAndRestoresASettingsFile) {
    const TempFile old("printer.json", {'o', 'l', 'd'});
    const Outcome save = RunTool("settings save " + m_port + " \"" + old.Path() + "\"");
    EXPECT_EQ(save.exitCode, 0) << save.output;
    const Outcome restore = RunTool("settings restore-file " + m_port + " \"" + old.Path() + "\"");
    EXPECT_EQ(restore.exitCode, 0) << restore.output;
    const Outcome diff = RunTool("settings diff " + m_port + " \"" + old.Path() + "\"");
    EXPECT_EQ(diff.exitCode, 0) << diff.output;
    const Outcome device = RunTool("settings save " + m_port + " NUL");
    EXPECT_NE(device.exitCode, 0) << device.output;
    EXPECT_NE(device.output.find("Cannot write NUL: it is not a regular file."), std::string::npos)
        << device.output;
}

struct FailedOpenCase {
    const char* arguments;
    const char* cause;
};

// A port that does not open ends with its exit code and says why, as on Linux.
TEST_F(CliTest, AFailedOpenNamesItsCause) {
    const FailedOpenCase cases[] = {
        {"settings read --port COM9", "COM9 does not exist; the serial devices present are "},
        {"settings read --port NUL", "NUL is not a serial port."},
        {"settings read --tcp 127.0.0.1:1", "127.0.0.1:1 refused the connection."},
    };
    for (const FailedOpenCase& c : cases) {
        const Outcome failed = RunTool(c.arguments);
        EXPECT_EQ(failed.exitCode, 3) << c.arguments << "\n" << failed.output;
        EXPECT_NE(failed.output.find(c.cause), std::string::npos) << failed.output;
    }
}

}  // namespace
