// tq20 on the line itself: what drivers report, why a port does not open, the network
// transport, and the command line's own limits.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "CPrinterSim.h"
#include "LoaderFiles.h"
#include "ToolRun.h"

namespace {

using namespace std::chrono_literals;

constexpr const char* kPortNotOpened = "Can't open a specified port\n";

bool Contains(const ToolOutcome& outcome, const std::string& text) {
    return outcome.output.find(text) != std::string::npos;
}

ToolOutcome RunTool(const std::string& arguments, const std::string& environment = "") {
    return RunCommand(environment + " " + TQ20_CLI + " " + arguments);
}

// tq20 with its termios2 read-back rewritten as a USB-serial driver would answer.
ToolOutcome RunWithReportedSpeeds(const std::string& speeds, const std::string& arguments) {
    return RunTool(arguments, "TQ20_REPORTED_SPEEDS=" + speeds + " LD_PRELOAD=" + TQ20_SPEED_SHIM +
                                  " ASAN_OPTIONS=verify_asan_link_order=0");
}

// tq20 as an ordinary user, optionally with a limit on the threads it may start. LeakSanitizer
// needs a thread of its own at exit, so it is left out where threads are limited.
ToolOutcome RunAsNobody(const std::string& arguments, const std::string& limit = "") {
    return RunCommand("ASAN_OPTIONS=detect_leaks=0 " + limit +
                      " setpriv --reuid=65534 --regid=65534 --clear-groups " + TQ20_CLI + " " +
                      arguments);
}

bool IsExclusive(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    int exclusive = -1;
    ::ioctl(fd, TIOCGEXCL, &exclusive);
    ::close(fd);
    return exclusive != 0;
}

class CliLineTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }
    std::string Port() const { return "--port " + sim.DevicePath(); }
    std::string Tcp() const { return "--tcp 127.0.0.1:" + std::to_string(sim.TcpPort()); }

    CPrinterSim sim{SimOptions{.tcp = true}};
};

TEST_F(CliLineTest, AnAdapterReportingItsAchievedSpeedOpens) {
    const ToolOutcome read = RunWithReportedSpeeds("115200:115384", "settings read " + Port());
    EXPECT_EQ(read.exitCode, 0) << read.output;
    EXPECT_TRUE(Contains(read, "contrast = 8 ")) << read.output;
}

TEST_F(CliLineTest, ASpeedTheDriverCannotMakeIsRefusedAndThePortLeftShareable) {
    const ToolOutcome read = RunWithReportedSpeeds("115200:9600", "settings read " + Port());
    EXPECT_EQ(read.exitCode, 3) << read.output;
    EXPECT_TRUE(Contains(read, kPortNotOpened + std::string("The driver of ") + sim.DevicePath() +
                                   " runs the line at 9600 bit/s instead of 115200 bit/s.\n"))
        << read.output;
    EXPECT_FALSE(IsExclusive(sim.DevicePath())) << "a failed open must not leave TIOCEXCL set";
}

TEST_F(CliLineTest, APortThatDoesNotOpenSaysWhy) {
    const ToolOutcome missing = RunTool("settings read --port /dev/tq20-no-such-port");
    EXPECT_EQ(missing.exitCode, 3) << missing.output;
    EXPECT_TRUE(Contains(missing, kPortNotOpened + std::string("/dev/tq20-no-such-port does not "
                                                               "exist; ")))
        << missing.output;

    const TempFile program("p.bin", ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(4, 1)}}));
    const ToolOutcome load = RunTool("load --port /dev/tq20-no-such-port " + program.Path());
    EXPECT_EQ(load.exitCode, 12) << load.output;
    EXPECT_TRUE(Contains(load, "/dev/tq20-no-such-port does not exist; ")) << load.output;

    const int holder = ::open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
    const ToolOutcome busy = RunTool("settings read " + Port());
    ::close(holder);
    EXPECT_EQ(busy.exitCode, 3) << busy.output;
    EXPECT_TRUE(Contains(busy, sim.DevicePath() + " is in use by another program.\n"))
        << busy.output;
}

TEST_F(CliLineTest, PermissionDeniedNamesTheGroupAndTheCommand) {
    const group* dialout = ::getgrnam("dialout");
    if (dialout == nullptr) {
        GTEST_SKIP() << "no dialout group on this system";
    }
    const TempFile device("ttyFAKE", {});
    std::filesystem::permissions(std::filesystem::path(device.Path()).parent_path(),
                                 std::filesystem::perms::others_exec,
                                 std::filesystem::perm_options::add);
    ASSERT_EQ(::chown(device.Path().c_str(), 0, dialout->gr_gid), 0);
    ASSERT_EQ(::chmod(device.Path().c_str(), 0660), 0);

    const ToolOutcome denied = RunAsNobody("settings read --port " + device.Path());
    EXPECT_EQ(denied.exitCode, 3) << denied.output;
    EXPECT_TRUE(Contains(denied,
                         "it belongs to the group dialout; add yourself with \"sudo "
                         "usermod -aG dialout $USER\""))
        << denied.output;
    const ToolOutcome notSerial = RunTool("settings read --port " + device.Path());
    EXPECT_TRUE(Contains(notSerial, device.Path() + " is not a serial port.")) << notSerial.output;
}

TEST_F(CliLineTest, AWatchThreadThatCannotStartEndsTheConnectCleanly) {
    const ToolOutcome read = RunAsNobody("settings read " + Tcp(), "prlimit --nproc=1");
    EXPECT_EQ(read.exitCode, 3) << read.output;
    EXPECT_TRUE(Contains(read, "thread will not be created")) << read.output;
    EXPECT_TRUE(Contains(read, kPortNotOpened)) << read.output;
}

TEST_F(CliLineTest, EverySettingsVerbWorksOverTcp) {
    const TempFile saved("saved.json", {});
    const std::string verbs[] = {
        "settings read",
        "settings set contrast=12",
        "settings save " + saved.Path(),
        "settings restore-file " + saved.Path(),
        "settings info",
        "settings restore saved",
        "settings restore factory",
    };
    for (const std::string& verb : verbs) {
        const ToolOutcome outcome = RunTool(verb + " " + Tcp());
        EXPECT_EQ(outcome.exitCode, 0) << verb << "\n" << outcome.output;
    }
}

TEST_F(CliLineTest, ATrickleOfReplyIsAwaitedAsLongAsItFlows) {
    // 19 bytes, 300 ms apart: far longer in total than two watches, never silent for one.
    sim.InjectFault({.kind = SimFaultKind::Trickle, .trickleGap = 300ms});
    const ToolOutcome read = RunTool("settings read " + Port());
    EXPECT_EQ(read.exitCode, 0) << read.output;
    EXPECT_TRUE(Contains(read, "portFlowControl = 16 ")) << read.output;
}

class CliSoftwareFlowTest : public CliLineTest {
protected:
    void SetUp() override {
        CliLineTest::SetUp();
        sim.WithProtocol([](CSimProtocol& p) { p.SetLine({115200, 0, false, 2}); });
    }
    std::string XonXoff() const { return Port() + " --flow xonxoff"; }
    void HoldInRecord(std::size_t byteIndex, std::uint8_t value) {
        sim.WithProtocol([&](CSimProtocol& p) {
            auto record = p.Current();
            record[byteIndex] = value;
            p.SetCurrent(record);
        });
    }
};

TEST_F(CliSoftwareFlowTest, ASetNeverLeavesThePrinterUnreadable) {
    const ToolOutcome set =
        RunTool("settings set " + XonXoff() + " barcodeHeight=19 fontMode=0x11 tabulation=17");
    EXPECT_EQ(set.exitCode, 0) << set.output;
    EXPECT_TRUE(Contains(set, "barcodeHeight: сохранено 20 вместо 19")) << set.output;
    EXPECT_TRUE(Contains(set, "fontMode: сохранено 16 вместо 17")) << set.output;
    EXPECT_TRUE(Contains(set, "tabulation: сохранено 18 вместо 17")) << set.output;
    ASSERT_TRUE(sim.WaitForCommands(4, 2s));
    const auto record = sim.Current();
    EXPECT_EQ(record[8], 20);
    EXPECT_EQ(record[3], 0x10);
    EXPECT_EQ(record[4], 18);
    const ToolOutcome read = RunTool("settings read " + XonXoff());
    EXPECT_EQ(read.exitCode, 0) << read.output;
}

// The line's own characters in a reply are taken out by the host: the read times out. The
// factory restore needs no reply on that line and brings the printer back to RTS/CTS.
TEST_F(CliSoftwareFlowTest, APrinterAlreadyHoldingXonIsReachedByAFactoryRestore) {
    HoldInRecord(8, 17);
    EXPECT_EQ(RunTool("settings read " + XonXoff()).exitCode, 4);
    const ToolOutcome restore = RunTool("settings restore factory " + XonXoff());
    EXPECT_EQ(restore.exitCode, 0) << restore.output;
}

TEST_F(CliLineTest, TurningThePortToSoftwareFlowFirstMovesXonAndXoffOut) {
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[9] = 19;
        p.SetCurrent(record);
    });
    const ToolOutcome set = RunTool("settings set " + Port() + " portFlowControl=0x20");
    EXPECT_EQ(set.exitCode, 0) << set.output;
    EXPECT_TRUE(Contains(set, "barcodeWidth: сохранено 20 вместо 19")) << set.output;
    ASSERT_TRUE(sim.WaitForCommands(5, 2s));
    EXPECT_EQ(RunTool("settings read " + Port() + " --flow xonxoff").exitCode, 0);
}

TEST(CliUsage, AMalformedLineIsAUsageError) {
    const std::string cases[] = {
        "settings read --tcp 127.0.0.1:abc",
        "settings read --tcp 127.0.0.1:",
        "settings read --tcp :4000",
        "settings read --tcp 127.0.0.1:70000",
        "settings read --tcp 127.0.0.1",
        "settings info --tcp 127.0.0.1:12x",
        "settings read --port /dev/ttyS0 --baud 12345",
        "settings read --port /dev/ttyS0 --baud fast",
        "settings read --port /dev/ttyS0 --baud 7200",
        "settings read --port /dev/ttyS0 --tcp 127.0.0.1:4000",
        "settings read",
        "load --tcp 127.0.0.1:abc file.bin",
        "load --port /dev/ttyS0 --baud 600 file.bin",
    };
    for (const std::string& arguments : cases) {
        const ToolOutcome outcome = RunTool(arguments);
        EXPECT_EQ(outcome.exitCode, 2) << arguments << "\n" << outcome.output;
    }
    const ToolOutcome help = RunTool("settings read --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(Contains(help, "exit code 2")) << help.output;
}

// A listener that takes no more connections: the system retries a connect for minutes.
TEST(CliTcpConnect, AListenerThatDoesNotAcceptEndsWithinTheLimit) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    socklen_t size = sizeof address;
    ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size);
    int fillers[2];
    for (int& filler : fillers) {
        filler = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
        ::connect(filler, reinterpret_cast<sockaddr*>(&address), sizeof address);
    }
    const auto started = std::chrono::steady_clock::now();
    const ToolOutcome read =
        RunTool("settings read --tcp 127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    const auto took = std::chrono::steady_clock::now() - started;
    for (int filler : fillers) {
        ::close(filler);
    }
    ::close(listener);
    EXPECT_EQ(read.exitCode, 3) << read.output;
    EXPECT_TRUE(Contains(read, "did not accept the connection in time.")) << read.output;
    EXPECT_LT(took, 20s) << "bounded by the connect limit, not by the system's retries";
}

}  // namespace
