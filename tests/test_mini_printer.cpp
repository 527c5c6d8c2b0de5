#include <gtest/gtest.h>
#include <sys/file.h>

#include <fcntl.h>
#include <unistd.h>

#include "CMiniPrinter.h"
#include "CPrinterPortMap.h"
#include "CommandTable.h"
#include "FakeSpooler.h"
#include "OptionFrame.h"
#include "PtyPair.h"
#include "RecordingOwner.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

PrinterSettings Numbered() {
    std::array<std::uint8_t, PrinterSettings::kSize> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(0xB0 + i);
    }
    return PrinterSettings::FromBytes(bytes);
}

struct FrameCase {
    int group;
    int mask;
    OptionFrameResult result;
    Bytes frame;
};

TEST(OptionFrame, EveryGroupAndMask) {
    // With the numbered record, settings byte n is B0 + n.
    const FrameCase cases[] = {
        {0, 0x01, OptionFrameResult::NothingSelected, {}},
        {0, 0x02, OptionFrameResult::Built, {0x1B, 0x63, 0x35, 0xBD, 0x12, 0x63, 0x53}},
        {0,
         0x06,
         OptionFrameResult::Built,
         {0x1B, 0x63, 0x35, 0xBD, 0x1D, 0x61, 0xBF, 0x12, 0x63, 0x53}},
        {1,
         0x07,
         OptionFrameResult::Built,
         {0x12, 0x7F, 0xB0, 0x12, 0x7E, 0xB2, 0x12, 0x44, 0x53, 0xB1, 0x12, 0x63, 0x53}},
        {1, 0x04, OptionFrameResult::Built, {0x12, 0x44, 0x53, 0xB1, 0x12, 0x63, 0x53}},
        {2, 0x00, OptionFrameResult::NothingSelected, {}},
        {2, 0x01, OptionFrameResult::Built, {0x1B, 0x21, 0xB3, 0x12, 0x63, 0x53}},
        {2, 0xFE, OptionFrameResult::NothingSelected, {}},
        {3,
         0x0F,
         OptionFrameResult::Built,
         {0x1B, 0x61, 0xB6, 0x1D, 0x4C, 0xB5, 0x00, 0x1D, 0x57, 0xBC, 0x00, 0x1B, 0x44, 0xB4, 0x12,
          0x63, 0x53}},
        {4,
         0x1F,
         OptionFrameResult::Built,
         {0x1D, 0x68, 0xB8, 0x1D, 0x53, 0xBB, 0x1D, 0x77, 0xB9, 0x1D, 0x6D, 0xBA, 0x1D, 0x48, 0xB7,
          0x12, 0x63, 0x53}},
        {5, 0x01, OptionFrameResult::Built, {0x12, 0x55, 0xC0, 0xC1 | 0xC2}},
        {5, 0x02, OptionFrameResult::NothingSelected, {}},
        {6, 0x01, OptionFrameResult::NoSuchGroup, {}},
        {-1, 0x01, OptionFrameResult::NoSuchGroup, {}},
    };
    for (const FrameCase& c : cases) {
        const OptionFrame frame = BuildOptionFrame(Numbered(), c.group, c.mask);
        EXPECT_EQ(frame.result, c.result) << "group " << c.group << " mask " << c.mask;
        if (c.result == OptionFrameResult::Built) {
            EXPECT_EQ(frame.bytes, c.frame) << "group " << c.group << " mask " << c.mask;
        }
    }
}

TEST(OptionFrame, TextPositionExample) {
    PrinterSettings settings{};
    settings.leftIndent = 0x0A;
    settings.printFieldWidth = 0x30;
    EXPECT_EQ(BuildOptionFrame(settings, 3, 0x06).bytes,
              (Bytes{0x1D, 0x4C, 0x0A, 0x00, 0x1D, 0x57, 0x30, 0x00, 0x12, 0x63, 0x53}));
}

TEST(CommandTable, HoldsAllThirtyThreeCommands) {
    for (int id = 0; id < kCommandCount; ++id) {
        const CommandEntry* entry = FindCommand(id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_EQ(entry->id, id);
        EXPECT_GE(entry->prefixLen, 1);
        EXPECT_LE(entry->prefixLen, 4);
    }
    EXPECT_EQ(FindCommand(kCommandCount), nullptr);
    EXPECT_EQ(FindCommand(-1), nullptr);
}

class PrinterTest : public ::testing::Test {
protected:
    bool Connect() {
        return printer.Connect(&owner, pty.SlavePath(), 115200, Parity::None, FlowControl::None,
                               StopBits::One);
    }

    // Queues name a device by its path with links resolved; a pseudo-terminal's path is that.
    std::string PtyPortKey() const { return pty.SlavePath(); }

    PtyPair pty;
    FakeSpooler spooler;
    RecordingOwner owner;
    CMiniPrinter printer{spooler};
};

TEST_F(PrinterTest, EverySendIsRefusedWhileNotConnected) {
    const std::uint8_t lf = 0x0A;
    EXPECT_FALSE(printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, 19));
    EXPECT_EQ(printer.LastError(), kPrinterErrorNotConnected);
    EXPECT_FALSE(printer.SendCommandWithTerminator(40, nullptr, 0, 16, &lf, 1));
    EXPECT_EQ(printer.LastError(), kPrinterErrorNotConnected);
    EXPECT_FALSE(printer.SaveOptions(Numbered(), 9, 1));
    EXPECT_EQ(printer.LastError(), kPrinterErrorNotConnected);
}

struct SendCase {
    int command;
    Bytes params;
    int error;
    Bytes wire;
};

TEST_F(PrinterTest, SendCommandBuildsOrRefusesTheFrame) {
    ASSERT_TRUE(Connect());
    const SendCase cases[] = {
        {9, {}, kPrinterErrorNone, {0x1B, 0x40}},
        {7, {0x00, 0x05}, kPrinterErrorNone, {0x10, 0x04, 0x00, 0x05}},
        {CMD_READ_SETTINGS, {}, kPrinterErrorNone, {0x12, 0x63, 0x4C, 0x63}},
        {1, {}, kPrinterErrorNotEnoughParameters, {}},
        {CMD_SET_PORT, {0x00}, kPrinterErrorNotEnoughParameters, {}},
        {40, {}, kPrinterErrorNoSuchCommand, {}},
        {-3, {0x01}, kPrinterErrorNoSuchCommand, {}},
        {CMD_GET_STATUS, Bytes(300, 0), kPrinterErrorBufferTooSmall, {}},
    };
    for (const SendCase& c : cases) {
        const bool sent = printer.SendCommand(c.command, c.params.data(),
                                              static_cast<int>(c.params.size()), false, 0);
        EXPECT_EQ(sent, c.error == kPrinterErrorNone) << "command " << c.command;
        EXPECT_EQ(printer.LastError(), c.error) << "command " << c.command;
        EXPECT_EQ(pty.ReadFromHost(c.wire.size(), 300ms), c.wire) << "command " << c.command;
    }
    EXPECT_TRUE(printer.IsConnected()) << "a refusal leaves the connection as it was";
}

TEST_F(PrinterTest, InformationRequestAwaitsItsTerminator) {
    ASSERT_TRUE(Connect());
    const std::uint8_t item = 2;
    const std::uint8_t lf = 0x0A;
    ASSERT_TRUE(printer.SendCommandWithTerminator(CMD_GET_PRINTER_INFO, &item, 1, 16, &lf, 1));
    EXPECT_EQ(pty.ReadFromHost(3, 1s), (Bytes{0x1D, 0x49, 0x02}));
    pty.WriteChunk({'1', '.', '0', 0x0A});
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    EXPECT_EQ(owner.Entries()[0].bytes, (Bytes{'1', '.', '0', 0x0A}));
}

// A reply description the channel refuses sends nothing, so nobody may wait for a reply.
TEST_F(PrinterTest, ARefusedReplyPatternIsReportedToTheCaller) {
    ASSERT_TRUE(Connect());
    const std::uint8_t item = 2;
    const std::uint8_t lf = 0x0A;
    const std::uint8_t noLength[4] = {0, 0, 1, 0};
    EXPECT_FALSE(printer.SendCommandWithTerminator(CMD_GET_PRINTER_INFO, &item, 1, 16, &lf, 0));
    EXPECT_FALSE(
        printer.SendCommandWithTerminator(CMD_GET_PRINTER_INFO, &item, 1, 17, noLength, 4));
    EXPECT_FALSE(printer.SendCommandWithTerminator(CMD_GET_PRINTER_INFO, &item, 1, 5, &lf, 1));
    EXPECT_TRUE(pty.ReadFromHost(1, 200ms).empty());
}

TEST_F(PrinterTest, SaveOptionsSendsTheFrameWithoutAwaitingAReply) {
    ASSERT_TRUE(Connect());
    PrinterSettings settings{};
    settings.leftIndent = 0x0A;
    settings.printFieldWidth = 0x30;
    EXPECT_TRUE(printer.SaveOptions(settings, 3, 0x06));
    EXPECT_EQ(pty.ReadFromHost(11, 1s),
              (Bytes{0x1D, 0x4C, 0x0A, 0x00, 0x1D, 0x57, 0x30, 0x00, 0x12, 0x63, 0x53}));
    EXPECT_FALSE(printer.SaveOptions(settings, 0, 0x01));
    EXPECT_FALSE(printer.SaveOptions(settings, 2, 0));
    EXPECT_EQ(printer.LastError(), kPrinterErrorNone);
    EXPECT_FALSE(printer.SaveOptions(settings, 7, 0x01));
    EXPECT_EQ(printer.LastError(), kPrinterErrorNoSuchOption);
    EXPECT_TRUE(pty.ReadFromHost(1, 200ms).empty());
}

TEST_F(PrinterTest, SecondConnectIsRefusedAndKeepsTheFirst) {
    ASSERT_TRUE(Connect());
    EXPECT_FALSE(Connect());
    EXPECT_EQ(printer.LastError(), kPrinterErrorAlreadyConnected);
    EXPECT_TRUE(printer.IsConnected());
    ASSERT_TRUE(printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, 19));
    EXPECT_EQ(pty.ReadFromHost(4, 1s).size(), 4u);
    pty.WriteChunk(Bytes(19, 1));
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    EXPECT_EQ(owner.Entries()[0].message, WM_CHANNEL_REPLY);
}

TEST_F(PrinterTest, PortThatDoesNotOpenIsReported) {
    const int holder = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_FALSE(Connect());
    EXPECT_FALSE(printer.IsConnected());
    EXPECT_EQ(printer.LastError(), kPrinterErrorPortAccess);
    EXPECT_EQ(printer.LastOpenFailure().kind, OpenFailureKind::InUse);
    EXPECT_EQ(printer.LastOpenFailure().device, pty.SlavePath());
    ::close(holder);
    EXPECT_TRUE(Connect()) << "a failed connect leaves no channel behind";
    EXPECT_EQ(printer.LastOpenFailure().kind, OpenFailureKind::None);
}

TEST_F(PrinterTest, DisconnectWhenNeverConnectedDoesNothing) {
    printer.Disconnect();
    EXPECT_EQ(printer.LastError(), kPrinterErrorNone);
}

TEST_F(PrinterTest, QueuesOfThePortPrintToFileWhileConnected) {
    const std::string key = PtyPortKey();
    spooler.queues = {{"Receipts", key}, {"Both", key + "," + key}, {"Other", "LPT1:"}};
    ASSERT_TRUE(Connect());
    EXPECT_EQ(spooler.PortOf("Receipts"), "FILE:");
    EXPECT_EQ(spooler.PortOf("Both"), key + "," + key);
    EXPECT_EQ(spooler.PortOf("Other"), "LPT1:");
    printer.Disconnect();
    EXPECT_EQ(spooler.PortOf("Receipts"), key);
}

TEST_F(PrinterTest, QueuesArePutBackWhenThePrinterObjectGoes) {
    const std::string key = PtyPortKey();
    spooler.queues = {{"Receipts", key}};
    {
        CMiniPrinter leaving(spooler);
        ASSERT_TRUE(leaving.Connect(&owner, pty.SlavePath(), 9600, Parity::None, FlowControl::None,
                                    StopBits::One));
        EXPECT_EQ(spooler.PortOf("Receipts"), "FILE:");
    }
    EXPECT_EQ(spooler.PortOf("Receipts"), key);
}

TEST(PrinterPortMap, SwitchesOnlyWhatItCan) {
    FakeSpooler spooler;
    spooler.queues = {{"A", "COM3:"}, {"B", "COM3:"}, {"C", "COM4:"}, {"D", "com3:"}};
    spooler.lockedQueues = {"B"};
    CPrinterPortMap map(spooler);
    map.Redirect("COM3:");
    EXPECT_EQ(spooler.PortOf("A"), "FILE:");
    EXPECT_EQ(spooler.PortOf("B"), "COM3:") << "a queue that cannot be changed keeps its port";
    EXPECT_EQ(spooler.PortOf("D"), "com3:") << "port strings compare case-sensitively";
    EXPECT_TRUE(map.Entries().at("COM3:").m_bRedirected);
    map.Restore("COM3:");
    EXPECT_EQ(spooler.PortOf("A"), "COM3:");
    EXPECT_FALSE(map.Entries().at("COM3:").m_bRedirected);
    map.Restore("COM4:");
    EXPECT_EQ(spooler.PortOf("C"), "COM4:") << "an entry never redirected is left alone";
}

TEST(PrinterPortMap, FailedEnumerationLeavesTheEntryUnmarked) {
    FakeSpooler spooler;
    spooler.queues = {{"A", "COM3:"}};
    CPrinterPortMap map(spooler);
    spooler.failEnumeration = true;
    map.Redirect("COM3:");
    EXPECT_FALSE(map.Entries().at("COM3:").m_bRedirected);
    EXPECT_EQ(spooler.PortOf("A"), "COM3:");
}

TEST_F(PrinterTest, QueuesThatCannotBeHeldAreNamedAndTheConnectionGoesAhead) {
    const std::string key = PtyPortKey();
    spooler.queues = {{"Receipts", key}, {"Labels", key}, {"Kitchen", key}};
    spooler.lockedQueues = {"Receipts", "Kitchen"};
    ASSERT_TRUE(Connect());
    EXPECT_EQ(spooler.PortOf("Labels"), "FILE:");
    EXPECT_EQ(printer.QueuesNotHeld(), (std::vector<std::string>{"Receipts", "Kitchen"}));
    printer.Disconnect();
    EXPECT_EQ(spooler.PortOf("Labels"), key);
}

TEST_F(PrinterTest, FailedConnectPutsTheQueuesBack) {
    const std::string key = "/dev/no-such-port";
    spooler.queues = {{"Receipts", key}};
    EXPECT_FALSE(printer.Connect(&owner, "/dev/no-such-port", 9600, Parity::None, FlowControl::None,
                                 StopBits::One));
    EXPECT_EQ(spooler.PortOf("Receipts"), key);
}

}  // namespace
