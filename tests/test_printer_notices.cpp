#include <gtest/gtest.h>
#include <sys/file.h>

#include <fcntl.h>
#include <unistd.h>

#include <functional>

#include "CMiniPrinter.h"
#include "CPrinterSim.h"
#include "CommandTable.h"
#include "FakeSpooler.h"
#include "LineNotices.h"
#include "PrinterNotices.h"
#include "PtyPair.h"
#include "RecordingNotifier.h"
#include "RecordingOwner.h"

// What the window and tq20 tell the user about the failures the core hands back: the texts,
// captions and icons the tools have always shown.
namespace {

using namespace std::chrono_literals;
using Message = RecordingNotifier::Message;
using Messages = std::vector<Message>;

class PrinterNoticeTest : public ::testing::Test {
protected:
    bool Connect() {
        return printer.Connect(&owner, pty.SlavePath(), 115200, Parity::None, FlowControl::None,
                               StopBits::One);
    }

    PtyPair pty;
    FakeSpooler spooler;
    RecordingOwner owner;
    CMiniPrinter printer{spooler};
    RecordingNotifier notifier;
};

struct RefusalCase {
    const char* name;
    bool connected;
    std::function<bool(CMiniPrinter&)> call;
    Messages shown;
};

TEST_F(PrinterNoticeTest, EveryRefusalIsWordedOnceAndAnAcceptedCallNotAtAll) {
    const std::uint8_t lf = 0x0A;
    const RefusalCase cases[] = {
        {"send while not connected",
         false,
         [](CMiniPrinter& p) { return p.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, 19); },
         {{"There is no opened connection", "CMiniPrinter: Port is not opened",
           MessageIcon::Error}}},
        {"pattern request while not connected",
         false,
         [&lf](CMiniPrinter& p) { return p.SendCommandWithTerminator(40, nullptr, 0, 16, &lf, 1); },
         {{"There is no opened connection", "CMiniPrinter: Port is not opened",
           MessageIcon::Error}}},
        {"unknown command",
         true,
         [](CMiniPrinter& p) { return p.SendCommand(40, nullptr, 0, false, 0); },
         {{"No such command", "CMiniPrinter: Internal Command Error", MessageIcon::Error}}},
        {"missing parameter",
         true,
         [](CMiniPrinter& p) { return p.SendCommand(1, nullptr, 0, false, 0); },
         {{"Not enough parameters", "CMiniPrinter: Internal Parameters Error",
           MessageIcon::Error}}},
        {"frame too long",
         true,
         [](CMiniPrinter& p) {
             const std::vector<std::uint8_t> params(300, 0);
             return p.SendCommand(CMD_GET_STATUS, params.data(), 300, false, 0);
         },
         {{"Internal buffer is not large enough", "CMiniPrinter: Internal Error",
           MessageIcon::Error}}},
        {"unknown option group",
         true,
         [](CMiniPrinter& p) { return p.SaveOptions(PrinterSettings{}, 7, 0x01); },
         {{"No such option to save", "CMiniPrinter: Internal Command Error", MessageIcon::Error}}},
        {"second connect",
         true,
         [this](CMiniPrinter& p) {
             return p.Connect(&owner, pty.SlavePath(), 115200, Parity::None, FlowControl::None,
                              StopBits::One);
         },
         {{"There is an opened connection", "CMiniPrinter: Connection already exists",
           MessageIcon::Error}}},
        {"nothing selected to save is no refusal",
         true,
         [](CMiniPrinter& p) { return p.SaveOptions(PrinterSettings{}, 2, 0); },
         {}},
        {"accepted request",
         true,
         [](CMiniPrinter& p) { return p.SendCommand(9, nullptr, 0, false, 0); },
         {}},
    };
    for (const RefusalCase& c : cases) {
        RecordingNotifier shown;
        CMiniPrinter fresh(spooler);
        if (c.connected) {
            ASSERT_TRUE(fresh.Connect(&owner, pty.SlavePath(), 115200, Parity::None,
                                      FlowControl::None, StopBits::One))
                << c.name;
        }
        if (!c.call(fresh)) {
            ShowPrinterRefusal(shown, fresh);
        }
        EXPECT_EQ(shown.Messages(), c.shown) << c.name;
    }
}

TEST_F(PrinterNoticeTest, APortInUseIsNamedUnderTheFirstLineTheWindowAlwaysShowed) {
    const int holder = ::open(pty.SlavePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    EXPECT_FALSE(Connect());
    ShowConnectNotices(notifier, printer);
    EXPECT_EQ(notifier.Messages(),
              (Messages{{"Can't open a specified port\n" + pty.SlavePath() +
                             " is in use by another program.",
                         "CMiniPrinter: Port access error", MessageIcon::Error}}));
    ::close(holder);
}

TEST_F(PrinterNoticeTest, QueuesThatCannotBeHeldAreNamedAndTheConnectionGoesAhead) {
    spooler.queues = {
        {"Receipts", pty.SlavePath()}, {"Labels", pty.SlavePath()}, {"Kitchen", pty.SlavePath()}};
    spooler.lockedQueues = {"Receipts", "Kitchen"};
    ASSERT_TRUE(Connect());
    ShowConnectNotices(notifier, printer);
    EXPECT_EQ(notifier.Messages(),
              (Messages{{"Printer queues that may still print to the port "
                         "(no permission to stop them): Receipts, Kitchen",
                         "CMiniPrinter: Printer queues", MessageIcon::Warning}}));
}

TEST(LineNotices, WhatCouldNotStartIsWarnedBeforeTheRefusal) {
    const std::pair<Unstarted, Messages> cases[] = {
        {Unstarted::ChannelWatch,
         {{"thread will not be created from CCommandChannel()", "", MessageIcon::Warning}}},
        {Unstarted::SerialReader,
         {{"thread will not be created from OpenConnection()", "", MessageIcon::Warning}}},
        {Unstarted::LoadWatchdog,
         {{"thread will not be created from CLoadLink()", "", MessageIcon::Warning}}},
        {Unstarted::Sockets, {{"Failed to Initialize Sockets", "Error!", MessageIcon::Error}}},
        {Unstarted::SocketReader, {}},
        {Unstarted::Nothing, {}},
    };
    for (const auto& [unstarted, expected] : cases) {
        RecordingNotifier notifier;
        ShowUnstarted(notifier, OpenFailure(OpenFailureKind::NoThread, "COM5", unstarted));
        EXPECT_EQ(notifier.Messages(), expected) << static_cast<int>(unstarted);
    }
}

TEST(LineNotices, ALostConnectionIsNamedUnderTheProgramsTitle) {
    const std::pair<LineLoss, Messages> cases[] = {
        {LineLoss::PeerClosed, {{"ERROR #4", "Velkor", MessageIcon::Error}}},
        {LineLoss::ReceiveFailed, {{"ERROR #5", "Velkor", MessageIcon::Error}}},
        {LineLoss::None, {}},
    };
    for (const auto& [loss, expected] : cases) {
        RecordingNotifier notifier;
        ShowLineLoss(notifier, loss);
        EXPECT_EQ(notifier.Messages(), expected) << static_cast<int>(loss);
    }
}

// The printer object keeps why its TCP line went, for the front-end that hears the line lost.
TEST(LineNotices, APeerThatClosesIsErrorFourThroughThePrinter) {
    CPrinterSim sim{{.pty = false, .tcp = true}};
    ASSERT_TRUE(sim.Start());
    sim.InjectFault({.kind = SimFaultKind::HangUp, .hangUpAfter = 0});
    FakeSpooler spooler;
    RecordingOwner owner;
    CMiniPrinter printer(spooler);
    ChannelConfig config;
    config.transport = TransportKind::Tcp;
    config.host = "127.0.0.1";
    config.hostPort = sim.TcpPort();
    ASSERT_TRUE(printer.Connect(&owner, config));
    ASSERT_TRUE(printer.SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, 19));
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    ASSERT_EQ(owner.Entries()[0].message, WM_CHANNEL_LINE_LOST);
    RecordingNotifier notifier;
    ShowLineLoss(notifier, printer.LastLineLoss());
    EXPECT_EQ(notifier.Messages(), (Messages{{"ERROR #4", "Velkor", MessageIcon::Error}}));
}

}  // namespace
