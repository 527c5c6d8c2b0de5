#include <gtest/gtest.h>

#include "CMiniPrinter.h"
#include "CPrinterSim.h"
#include "CommandTable.h"
#include "RecordingOwner.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kWatch = 300ms;
constexpr auto kSettle = kWatch + 300ms;

struct HostLine {
    unsigned baud = 115200;
    Parity parity = Parity::None;
    FlowControl flow = FlowControl::RtsCts;
    StopBits stopBits = StopBits::One;
};

// The configurator's printer object against the simulator on a pseudo-terminal.
class SimTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }

    bool Connect(const HostLine& line = {}) {
        printer.SetReplyWatch(kWatch);
        return printer.Connect(&owner, sim.DevicePath(), line.baud, line.parity, line.flow,
                               line.stopBits);
    }

    // The notifications the last request produced.
    std::vector<RecordingOwner::Entry> Ask(int command, Bytes params, int replyLength) {
        const std::size_t before = owner.Entries().size();
        printer.SendCommand(command, params.data(), static_cast<int>(params.size()),
                            replyLength >= 0, std::max(0, replyLength));
        owner.WaitFor(before + 1, 5s);
        std::this_thread::sleep_for(replyLength >= 0 ? 50ms : kSettle);
        const auto all = owner.Entries();
        return {all.begin() + static_cast<std::ptrdiff_t>(before), all.end()};
    }

    std::vector<RecordingOwner::Entry> ReadSettings() { return Ask(CMD_READ_SETTINGS, {}, 19); }

    static Bytes RecordBytes(const CSimProtocol::Record& record) {
        return {record.begin(), record.end()};
    }

    CPrinterSim sim;
    CNoPrinterQueues queues;
    RecordingOwner owner;
    CMiniPrinter printer{queues};
};

TEST_F(SimTest, ReadsTheSettingsRecord) {
    ASSERT_TRUE(Connect());
    const auto replies = ReadSettings();
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].message, WM_CHANNEL_REPLY);
    EXPECT_EQ(replies[0].bytes, RecordBytes(sim.Current()));
    EXPECT_EQ(sim.ReceivedBytes(), (Bytes{0x12, 0x63, 0x4C, 0x63}));
}

struct LineCase {
    const char* name;
    HostLine host;
    bool answers;
};

TEST_F(SimTest, AnswersOnlyAHostWithItsLineSettings) {
    // The simulator starts at its factory line: 115200 bit/s, one stop bit, RTS/CTS.
    const LineCase cases[] = {
        {"matching", {115200}, true},
        {"parity is not felt", {115200, Parity::Even}, true},
        {"wrong speed", {9600}, false},
        {"two stop bits", {115200, Parity::None, FlowControl::RtsCts, StopBits::Two}, false},
        {"no handshake", {115200, Parity::None, FlowControl::None}, false},
        {"software handshake", {115200, Parity::None, FlowControl::XonXoff}, false},
    };
    for (const LineCase& c : cases) {
        ASSERT_TRUE(Connect(c.host)) << c.name;
        const auto replies = ReadSettings();
        ASSERT_EQ(replies.size(), 1u) << c.name;
        EXPECT_EQ(replies[0].message, c.answers ? WM_CHANNEL_REPLY : WM_CHANNEL_TIMEOUT) << c.name;
        printer.Disconnect();
    }
}

TEST_F(SimTest, CombinedFlowControlTalksToAnXonXoffPrinter) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 38400, .flowControl = 3}); });
    ASSERT_TRUE(Connect({38400, Parity::None, FlowControl::Both}));
    EXPECT_EQ(ReadSettings().at(0).message, WM_CHANNEL_REPLY);
}

TEST_F(SimTest, SettingFramesChangeTheRecordAndAreStored) {
    ASSERT_TRUE(Connect());
    auto bytes = sim.Current();
    bytes[0] = 20;
    bytes[1] = 128;
    bytes[2] = 9;
    const auto settings = PrinterSettings::FromBytes(bytes);
    ASSERT_TRUE(printer.SaveOptions(settings, 1, 0x07));
    ASSERT_TRUE(sim.WaitForCommands(4, 2s));
    EXPECT_EQ(sim.Current(), bytes);
    CSimProtocol::Record saved{};
    sim.WithProtocol([&](CSimProtocol& p) { saved = p.Saved(); });
    EXPECT_EQ(saved, bytes);
}

TEST_F(SimTest, InformationItemsEndInTheirTerminators) {
    ASSERT_TRUE(Connect());
    sim.WithProtocol([](CSimProtocol& p) { p.SetInfoItem(3, "SN-1"); });
    for (std::uint8_t item = 1; item <= 9; ++item) {
        const std::uint8_t terminator = item == 1 || item == 9 ? 0x00 : 0x0A;
        const std::size_t before = owner.Entries().size();
        ASSERT_TRUE(
            printer.SendCommandWithTerminator(CMD_GET_PRINTER_INFO, &item, 1, 16, &terminator, 1));
        ASSERT_TRUE(owner.WaitFor(before + 1, 3s)) << int{item};
        const auto reply = owner.Entries().back();
        EXPECT_EQ(reply.message, WM_CHANNEL_REPLY) << int{item};
        EXPECT_EQ(reply.bytes.back(), terminator) << int{item};
        if (item == 3) {
            EXPECT_EQ(reply.bytes, (Bytes{'S', 'N', '-', '1', 0x0A}));
        }
    }
}

TEST_F(SimTest, StatusByte) {
    ASSERT_TRUE(Connect());
    sim.WithProtocol([](CSimProtocol& p) { p.SetStatus(0x03); });
    const auto replies = Ask(CMD_GET_STATUS, {0x00}, 1);
    ASSERT_EQ(replies.size(), 1u);
    EXPECT_EQ(replies[0].bytes, Bytes{0x03});
}

TEST_F(SimTest, PortChangeTakesEffectAndTheNewLineIsStored) {
    ASSERT_TRUE(Connect());
    auto bytes = sim.Current();
    bytes[16] = 2;     // 38400 bit/s
    bytes[17] = 0;     // one stop bit, no parity
    bytes[18] = 0x20;  // Xon/Xoff
    ASSERT_TRUE(printer.SaveOptions(PrinterSettings::FromBytes(bytes), 5, 0x01));
    ASSERT_TRUE(sim.WaitForCommands(1, 2s));
    EXPECT_EQ(ReadSettings().at(0).message, WM_CHANNEL_TIMEOUT) << "the old line is deaf now";
    printer.Disconnect();
    ASSERT_TRUE(Connect({38400, Parity::None, FlowControl::XonXoff}));
    printer.SendCommand(CMD_STORE_SETTINGS, nullptr, 0, false, 0);
    const auto replies = ReadSettings();
    ASSERT_EQ(replies.at(0).message, WM_CHANNEL_REPLY);
    EXPECT_EQ(replies[0].bytes, RecordBytes(bytes));
    CSimProtocol::Record saved{};
    sim.WithProtocol([&](CSimProtocol& p) { saved = p.Saved(); });
    EXPECT_EQ(saved, bytes);
}

TEST_F(SimTest, FactoryRestoreReturnsToTheFactoryLine) {
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[0] = 30;
        p.SetCurrent(record);
        p.SetLine({.baudRate = 9600, .flowControl = 0});
    });
    ASSERT_TRUE(Connect({9600, Parity::None, FlowControl::None}));
    printer.SendCommand(CMD_RESTORE_FACTORY, nullptr, 0, false, 0);
    ASSERT_TRUE(sim.WaitForCommands(1, 2s));
    printer.Disconnect();
    ASSERT_TRUE(Connect({115200}));
    const auto replies = ReadSettings();
    ASSERT_EQ(replies.at(0).message, WM_CHANNEL_REPLY);
    CSimProtocol::Record factory{};
    sim.WithProtocol([&](CSimProtocol& p) { factory = p.Factory(); });
    EXPECT_EQ(replies[0].bytes, RecordBytes(factory));
}

TEST_F(SimTest, SavedRestoreBringsBackTheStoredRecord) {
    ASSERT_TRUE(Connect());
    const auto stored = sim.Current();
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[3] = 0xFF;
        p.SetCurrent(record);
    });
    printer.SendCommand(CMD_RESTORE_SAVED, nullptr, 0, false, 0);
    ASSERT_TRUE(sim.WaitForCommands(1, 2s));
    EXPECT_EQ(ReadSettings().at(0).bytes, RecordBytes(stored));
}

struct FaultCase {
    const char* name;
    SimFault fault;
    ChannelMessage message;
    std::size_t replyLength;
};

TEST_F(SimTest, InjectedFaultsShowAsARealPrinterWould) {
    const FaultCase cases[] = {
        {"silence", {.kind = SimFaultKind::Silence}, WM_CHANNEL_TIMEOUT, 0},
        {"one byte too many",
         {.kind = SimFaultKind::WrongLength, .lengthDelta = 1},
         WM_CHANNEL_REPLY,
         20},
        {"one byte short",
         {.kind = SimFaultKind::WrongLength, .lengthDelta = -1},
         WM_CHANNEL_TIMEOUT,
         0},
        {"trickle inside the watch",
         {.kind = SimFaultKind::Trickle, .trickleGap = kWatch / 3},
         WM_CHANNEL_REPLY,
         19},
        {"hang-up mid-reply",
         {.kind = SimFaultKind::HangUp, .hangUpAfter = 5},
         WM_CHANNEL_LINE_LOST,
         0},
    };
    for (const FaultCase& c : cases) {
        CPrinterSim faulty;
        ASSERT_TRUE(faulty.Start());
        faulty.InjectFault(c.fault);
        RecordingOwner watcher;
        printer.SetReplyWatch(kWatch);
        ASSERT_TRUE(printer.Connect(&watcher, faulty.DevicePath(), 115200, Parity::None,
                                    FlowControl::RtsCts, StopBits::One))
            << c.name;
        printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, 19);
        ASSERT_TRUE(watcher.WaitFor(1, 10s)) << c.name;
        std::this_thread::sleep_for(kSettle);
        const auto entries = watcher.Entries();
        ASSERT_EQ(entries.size(), 1u) << c.name;
        EXPECT_EQ(entries[0].message, c.message) << c.name;
        EXPECT_EQ(entries[0].bytes.size(), c.replyLength) << c.name;
        printer.Disconnect();
    }
}

TEST_F(SimTest, PacedRepliesTakeTheirWireTime) {
    sim.SetPacing(true);
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 1200, .flowControl = 1}); });
    ASSERT_TRUE(Connect({1200}));
    const auto start = std::chrono::steady_clock::now();
    const auto replies = ReadSettings();
    ASSERT_EQ(replies.at(0).message, WM_CHANNEL_REPLY);
    // 4 request bytes and 19 reply bytes of 10 bits each at 1200 bit/s.
    EXPECT_GE(replies[0].when - start, 190ms);
}

}  // namespace
