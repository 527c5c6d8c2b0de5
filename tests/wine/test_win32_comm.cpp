#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>

#include "CCommandChannel.h"
#include "CMiniPrinter.h"
#include "CSpoolerPrinterQueues.h"
#include "FakeSpooler.h"
#include "PortDiscovery.h"
#include "RecordingOwner.h"
#include "SerialDcb_win32.h"
#include "SerialPortList.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

const Bytes kReadSettings{0x12, 0x63, 0x4C, 0x63};
constexpr int kRecordLength = 19;

// The COM port and TCP address where wine-run.sh put the Linux simulator.
std::string FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// CPU time the whole process has used, in seconds: a spinning thread shows up here.
double ProcessCpuSeconds() {
    FILETIME created{}, exited{}, kernel{}, user{};
    ::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e7;
    };
    return seconds(kernel) + seconds(user);
}

struct DcbCase {
    const char* name;
    SerialLineRequest request;
    BYTE parity;
    DWORD fParity;
    BYTE stopBits;
    DWORD ctsFlow;
    DWORD dtrControl;
    DWORD rtsControl;
    DWORD xonXoff;
};

TEST(SerialDcb, EveryChoiceOfTheConnectionPage) {
    const DcbCase cases[] = {
        {"none",
         {115200, Parity::None, StopBits::One, FlowControl::None},
         NOPARITY,
         0,
         ONESTOPBIT,
         0,
         DTR_CONTROL_ENABLE,
         RTS_CONTROL_ENABLE,
         0},
        {"rts/cts",
         {9600, Parity::None, StopBits::One, FlowControl::RtsCts},
         NOPARITY,
         0,
         ONESTOPBIT,
         1,
         DTR_CONTROL_HANDSHAKE,
         RTS_CONTROL_HANDSHAKE,
         0},
        {"xon/xoff",
         {14400, Parity::Odd, StopBits::Two, FlowControl::XonXoff},
         ODDPARITY,
         1,
         TWOSTOPBITS,
         0,
         DTR_CONTROL_ENABLE,
         RTS_CONTROL_ENABLE,
         1},
        {"both is xon/xoff",
         {28800, Parity::Even, StopBits::One, FlowControl::Both},
         EVENPARITY,
         1,
         ONESTOPBIT,
         0,
         DTR_CONTROL_ENABLE,
         RTS_CONTROL_ENABLE,
         1},
    };
    for (const DcbCase& c : cases) {
        DCB dcb{};
        ApplySerialLine(MapSerialLine(c.request), dcb);
        EXPECT_EQ(dcb.BaudRate, c.request.baudRate) << c.name;
        EXPECT_EQ(dcb.ByteSize, 8) << c.name;
        EXPECT_EQ(dcb.Parity, c.parity) << c.name;
        EXPECT_EQ(dcb.fParity, c.fParity) << c.name;
        EXPECT_EQ(dcb.StopBits, c.stopBits) << c.name;
        EXPECT_EQ(dcb.fOutxCtsFlow, c.ctsFlow) << c.name;
        EXPECT_EQ(dcb.fOutxDsrFlow, c.ctsFlow) << c.name;
        EXPECT_EQ(dcb.fDtrControl, c.dtrControl) << c.name;
        EXPECT_EQ(dcb.fRtsControl, c.rtsControl) << c.name;
        EXPECT_EQ(dcb.fOutX, c.xonXoff) << c.name;
        EXPECT_EQ(dcb.fInX, c.xonXoff) << c.name;
        EXPECT_EQ(dcb.fBinary, 1u) << c.name;
        EXPECT_EQ(dcb.XonLim, 150) << c.name;
        EXPECT_EQ(dcb.XoffChar, 0x13) << c.name;
    }
}

class SimulatorTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (m_com.empty()) {
            GTEST_SKIP() << "run through wine-run.sh, which links COM5 to the simulator";
        }
    }
    std::unique_ptr<CCommandChannel> OpenSerial(const std::string& port = {}) {
        ChannelConfig config;
        config.portName = port.empty() ? m_com : port;
        config.flowControl = FlowControl::RtsCts;
        return std::make_unique<CCommandChannel>(&owner, config);
    }
    void ReadSettings(CCommandChannel& channel) {
        channel.Send(kReadSettings.data(), static_cast<int>(kReadSettings.size()), true,
                     kRecordLength);
    }

    std::string m_com = FromEnvironment("TQ20_TEST_COM");
    std::string m_tcp = FromEnvironment("TQ20_TEST_TCP");
    std::string m_hangUpCom = FromEnvironment("TQ20_TEST_HANGUP_COM");
    RecordingOwner owner;
};

TEST_F(SimulatorTest, ReadsTheSettingsRecordOverTheComPort) {
    auto channel = OpenSerial();
    ASSERT_TRUE(channel->IsOpen());
    for (std::size_t round = 1; round <= 3; ++round) {
        ReadSettings(*channel);
        ASSERT_TRUE(owner.WaitFor(round, 3s)) << "round " << round;
        const auto entry = owner.Entries().back();
        EXPECT_EQ(entry.message, WM_CHANNEL_REPLY);
        EXPECT_EQ(entry.bytes.size(), static_cast<std::size_t>(kRecordLength));
    }
}

TEST_F(SimulatorTest, OwnerMayCloseTheComPortInsideTheReply) {
    auto channel = OpenSerial();
    ASSERT_TRUE(channel->IsOpen());
    owner.DoInHandler([&](ChannelMessage) { channel.reset(); });
    ReadSettings(*channel);
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    EXPECT_EQ(owner.Entries().front().message, WM_CHANNEL_REPLY);
    // The port is free again: a new channel opens it.
    std::this_thread::sleep_for(100ms);
    owner.DoInHandler(nullptr);
    EXPECT_TRUE(OpenSerial()->IsOpen());
}

TEST_F(SimulatorTest, ClosingWhileTheReaderWaitsReturnsAtOnce) {
    auto channel = OpenSerial();
    ASSERT_TRUE(channel->IsOpen());
    std::this_thread::sleep_for(200ms);
    const auto start = std::chrono::steady_clock::now();
    channel.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 500ms);
}

// The simulator on the second port sends five bytes of the reply and hangs up, as an unplugged
// adapter does. The request ends at once as a lost line; a reader that kept retrying the
// failing waits would burn the CPU instead.
TEST_F(SimulatorTest, UnpluggedLineEndsTheRequestWithAnIdleCpu) {
    auto channel = OpenSerial(m_hangUpCom);
    ASSERT_TRUE(channel->IsOpen());
    const double cpuBefore = ProcessCpuSeconds();
    ReadSettings(*channel);
    ASSERT_TRUE(owner.WaitFor(1, 5s));
    std::this_thread::sleep_for(300ms);
    const double cpuUsed = ProcessCpuSeconds() - cpuBefore;
    const auto entries = owner.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_LINE_LOST);
    EXPECT_LT(cpuUsed, 0.3);
}

TEST_F(SimulatorTest, ReadsTheSettingsRecordOverTcp) {
    const auto colon = m_tcp.rfind(':');
    ASSERT_NE(colon, std::string::npos) << m_tcp;
    ChannelConfig config;
    config.transport = TransportKind::Tcp;
    config.host = m_tcp.substr(0, colon);
    config.hostPort = std::atoi(m_tcp.c_str() + colon + 1);
    CCommandChannel channel(&owner, config);
    ASSERT_TRUE(channel.IsOpen());
    ReadSettings(channel);
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    EXPECT_EQ(owner.Entries().front().bytes.size(), static_cast<std::size_t>(kRecordLength));
}

TEST_F(SimulatorTest, DiscoveryListsTheMappedPortOnce) {
    const auto devices = ListSerialDevices();
    EXPECT_NE(std::find(devices.begin(), devices.end(), m_com), devices.end());
    const auto merged = MergePortLists(ListSpoolerPorts(), devices);
    const auto same = [&](const std::string& port) { return SamePort(port, m_com); };
    EXPECT_EQ(std::count_if(merged.begin(), merged.end(), same), 1);
    for (const std::string& port : ListSpoolerPorts()) {
        EXPECT_TRUE(IsSerialSpoolerPort(port)) << port;
    }
}

TEST_F(SimulatorTest, QueuesOfTheComPortPrintToFileWhileConnected) {
    FakeSpooler spooler;
    spooler.queues = {{"Receipts", "COM5:"}, {"Two ports", "COM5:,COM6:"}, {"Other", "LPT1:"}};
    CMiniPrinter printer(spooler);
    ASSERT_TRUE(
        printer.Connect(&owner, "com5", 115200, Parity::None, FlowControl::RtsCts, StopBits::One));
    EXPECT_EQ(spooler.PortOf("Receipts"), "FILE:");
    EXPECT_EQ(spooler.PortOf("Two ports"), "COM5:,COM6:");
    EXPECT_EQ(spooler.PortOf("Other"), "LPT1:");
    printer.Disconnect();
    EXPECT_EQ(spooler.PortOf("Receipts"), "COM5:");
}

TEST(SpoolerQueues, TheSpoolerAnswersAndAMissingQueueIsNotChanged) {
    CSpoolerPrinterQueues spooler;
    EXPECT_TRUE(spooler.EnumerateLocal().has_value());
    EXPECT_FALSE(spooler.HoldQueue({"No such queue", "COM5:"}));
    // Never held by this object: nothing to point back.
    EXPECT_TRUE(spooler.ReleaseQueue({"No such queue", "COM5:"}));
}

}  // namespace
