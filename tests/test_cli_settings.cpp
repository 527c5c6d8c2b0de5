#include <gtest/gtest.h>
#include <signal.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "SettingValues.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

struct ValueCase {
    const char* assignment;
    int exitCode;         // 3: checked and passed on to the (missing) port
    const char* message;  // part of what is printed
};

// Every value is checked before the port opens: a good one reaches the port, which here does
// not exist (exit 3); a bad one ends with exit 6 naming the field and what it takes.
TEST(CliValues, EveryValueIsCheckedBeforeThePortOpens) {
    const ValueCase cases[] = {
        {"contrast=012", 3, ""},
        {"contrast=09", 3, ""},
        {"fontMode=0x51", 3, ""},
        {"dotsCount=0x20", 3, ""},
        {"portFlowControl=0x30", 3, ""},
        {"contrast=300", 6, "contrast cannot be 300; it takes 0 to 255 except 17 and 19"},
        {"contrast=17", 6, "except 17 and 19"},
        {"printSpeed=19", 6, "printSpeed cannot be 19"},
        {"dotsCount=7", 6, "32, 64, 96 or 128"},
        {"fontMode=0xFF", 6, "fontMode cannot be 255"},
        {"alignment=9", 6, "1 left, 2 right or 3 centre"},
        {"alignment=0", 6, "alignment cannot be 0"},
        {"portFraming=9", 6, "portFraming cannot be 9"},
        {"portBaudIndex=10", 6, "portBaudIndex cannot be 10"},
        {"portBaudIndex=200", 6, "0 to 9"},
        {"portFlowControl=1", 6, "0x10 RTS/CTS"},
        {"barcodeHri=1", 6, "0 off or 4 on"},
        {"feedButtonDisabled=2", 6, "0 or 1"},
        {"reserved14=1", 6, "reserved14 cannot be set"},
        {"nosuchfield=1", 6, "No such setting: nosuchfield; the settings are contrast,"},
        {"contrast=", 6, "contrast: \"\" is not a number"},
        {"contrast=0x", 6, "is not a number"},
        {"contrast=-1", 6, "is not a number"},
        {"contrast=+5", 6, "is not a number"},
        {"contrast=1e3", 6, "is not a number"},
        {"contrast=99999999999999999999", 6, "is not a number"},
        {"contrast", 6, "Expected FIELD=VALUE"},
    };
    for (const ValueCase& c : cases) {
        const Outcome outcome =
            RunTool(std::string("settings set --port /dev/no-such-port ") + c.assignment);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.assignment << "\n" << outcome.output;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos) << c.assignment << "\n"
                                                                     << outcome.output;
    }
}

TEST(CliValues, NumbersAreDecimalOrHexadecimalNeverOctal) {
    const std::pair<const char*, int> cases[] = {
        {"contrast=012", 12}, {"contrast=09", 9}, {"contrast=0x1F", 31}, {"contrast=0X0a", 10}};
    for (const auto& [text, value] : cases) {
        std::string error;
        const auto parsed = ParseAssignment(text, error);
        ASSERT_TRUE(parsed) << text << ": " << error;
        EXPECT_EQ(parsed->index, 0u);
        EXPECT_EQ(parsed->value, value) << text;
    }
}

// A scratch folder for the files a test writes, removed with the object.
class Scratch {
public:
    Scratch() {
        char pattern[] = "/tmp/tq20-settings-XXXXXX";
        m_dir = ::mkdtemp(pattern);
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(m_dir, ignored);
    }
    std::string Path(const std::string& name) const { return m_dir + "/" + name; }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(Path(name)) << text;
    }
    static std::string Read(const std::string& path) {
        std::ifstream in(path);
        return {std::istreambuf_iterator<char>(in), {}};
    }

private:
    std::string m_dir;
};

class CliFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }
    std::string Port() const { return "--port " + sim.DevicePath(); }

    CPrinterSim sim;
    Scratch scratch;
};

// A folder or a pipe in the target's place is refused and left as it is; neither command
// blocks on a pipe that nobody writes.
TEST_F(CliFiles, SaveAndRestoreRefuseWhatIsNotARegularFile) {
    fs::create_directory(scratch.Path("folder"));
    ASSERT_EQ(::mkfifo(scratch.Path("pipe").c_str(), 0600), 0);
    for (const char* name : {"folder", "pipe"}) {
        const Outcome save = RunTool("settings save " + Port() + " " + scratch.Path(name));
        EXPECT_EQ(save.exitCode, 6) << name << "\n" << save.output;
        EXPECT_NE(save.output.find("not a regular file"), std::string::npos) << save.output;
        const Outcome restore =
            RunTool("settings restore-file " + Port() + " " + scratch.Path(name));
        EXPECT_EQ(restore.exitCode, 6) << name << "\n" << restore.output;
    }
    EXPECT_TRUE(fs::is_directory(scratch.Path("folder")));
    EXPECT_TRUE(fs::is_fifo(scratch.Path("pipe")));
}

TEST_F(CliFiles, ABackupIsWholeAndReplacesTheOldOne) {
    const std::string backup = scratch.Path("backup.json");
    scratch.Write("backup.json", "old");
    ASSERT_EQ(RunTool("settings save " + Port() + " " + backup).exitCode, 0);
    EXPECT_NE(Scratch::Read(backup).find("\"portFlowControl\": 16\n}"), std::string::npos);
    EXPECT_EQ(std::distance(fs::directory_iterator(scratch.Path("")), {}), 1)
        << "no temporary file is left behind";
}

// A full file system: a small tmpfs in the scratch folder, filled up. The old backup stays.
TEST_F(CliFiles, AFullFileSystemFailsAndKeepsTheOldFile) {
    const std::string mountPoint = scratch.Path("small");
    fs::create_directory(mountPoint);
    if (::mount("tmpfs", mountPoint.c_str(), "tmpfs", 0, "size=64k") != 0) {
        GTEST_SKIP() << "mounting a tmpfs is not permitted here";
    }
    const std::string backup = mountPoint + "/backup.json";
    std::ofstream(backup) << "old";
    {
        std::ofstream filler(mountPoint + "/filler");
        const std::string block(4096, 'x');
        while (filler.write(block.data(), block.size()) && filler.flush()) {
        }
    }
    const Outcome save = RunTool("settings save " + Port() + " " + backup);
    const std::string left = Scratch::Read(backup);
    ::umount2(mountPoint.c_str(), MNT_DETACH);
    EXPECT_EQ(save.exitCode, 6) << save.output;
    EXPECT_NE(save.output.find("The file is as it was."), std::string::npos) << save.output;
    EXPECT_EQ(left, "old");
}

struct FileCase {
    const char* name;
    std::string text;
    const char* message;
};

TEST_F(CliFiles, ABadSettingsFileIsRefusedNamingWhatIsWrong) {
    const FileCase cases[] = {
        {"value out of range", R"({"contrast": 300})", "contrast cannot be 300"},
        {"not a number", R"({"dotsCount": "64"})", "dotsCount: expected a whole number"},
        {"a fraction", R"({"tabulation": 8.5})", "tabulation: expected a whole number"},
        {"unknown field", R"({"colour": 1})", "No such setting: colour"},
        {"not JSON", "{x", "Not a settings file"},
        {"too large", std::string(100000, ' ') + "{}", "too large"},
    };
    for (const FileCase& c : cases) {
        scratch.Write("bad.json", c.text);
        const Outcome outcome =
            RunTool("settings restore-file " + Port() + " " + scratch.Path("bad.json"));
        EXPECT_EQ(outcome.exitCode, 6) << c.name << "\n" << outcome.output;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos) << c.name << "\n"
                                                                     << outcome.output;
    }
    EXPECT_TRUE(sim.ReceivedBytes().empty()) << "nothing goes to the printer";
}

class CliConversation : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }
    std::string Port() const { return "--port " + sim.DevicePath(); }

    CPrinterSim sim;
    Scratch scratch;
};

// Starts tq20 and kills it once the printer has begun its reply.
void InterruptAReadMidReply(CPrinterSim& sim, const std::string& arguments) {
    const pid_t child = ::fork();
    if (child == 0) {
        const std::string command = std::string(TQ20_CLI) + " " + arguments + " >/dev/null 2>&1";
        ::execl("/bin/sh", "sh", "-c", ("exec " + command).c_str(), nullptr);
        ::_exit(127);
    }
    const auto until = std::chrono::steady_clock::now() + 10s;
    while (sim.BytesSent() < 2 && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(1ms);
    }
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
}

struct InterruptCase {
    const char* name;
    SimFault fault;
};

// A read cut off in the middle of the printer's reply, followed at once by another command:
// the tail of the old reply must not be taken for the new one. Either the true record or a
// clean refusal, never a wrong backup or a wrong write.
TEST_F(CliConversation, AfterAnInterruptedReadSaveAndSetGetTheTruthOrRefuse) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 1200, .flowControl = 1}); });
    sim.SetPacing(true);
    const std::string line = Port() + " --baud 1200";
    const InterruptCase cases[] = {
        {"paced", {}},
        {"trickling", {.kind = SimFaultKind::Trickle, .trickleGap = 40ms}},
    };
    for (const InterruptCase& c : cases) {
        SCOPED_TRACE(c.name);
        sim.InjectFault(c.fault);
        const auto truth = sim.Current();
        std::string expected = "{\n";
        for (std::size_t i = 0; i < truth.size(); ++i) {
            expected += "  \"" + std::string(SettingName(i)) + "\": " + std::to_string(truth[i]) +
                        (i + 1 < truth.size() ? ",\n" : "\n}\n");
        }
        sim.ClearLog();
        InterruptAReadMidReply(sim, "settings read " + line);
        const std::string backup = scratch.Path(std::string(c.name) + ".json");
        const Outcome save = RunTool("settings save " + line + " " + backup);
        if (save.exitCode == 0) {
            EXPECT_EQ(Scratch::Read(backup), expected);
        } else {
            EXPECT_FALSE(fs::exists(backup)) << save.output;
        }

        sim.ClearLog();
        InterruptAReadMidReply(sim, "settings read " + line);
        const Outcome set = RunTool("settings set " + line + " contrast=30");
        auto wanted = truth;
        wanted[0] = 30;
        EXPECT_EQ(sim.Current(), set.exitCode == 0 ? wanted : truth) << set.output;
        sim.WithProtocol([&](CSimProtocol& p) { p.SetCurrent(truth); });
    }
}

TEST_F(CliConversation, AHangUpDuringAReadEndsAtOnce) {
    sim.InjectFault({.kind = SimFaultKind::HangUp, .hangUpAfter = 5});
    const auto start = std::chrono::steady_clock::now();
    const Outcome read = RunTool("settings read " + Port());
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(read.exitCode, 7) << read.output;
    EXPECT_NE(read.output.find("Связь с принтером потеряна."), std::string::npos) << read.output;
    EXPECT_LT(took, 1500ms) << "not after the reply watch";
}

}  // namespace
