// Clicks that come while a conversation of several steps runs: none may leave the window
// waiting for a reply that never comes, or showing a state the line is not in.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCheckBox>
#include <algorithm>

#include "ConfigWindowFixture.h"

namespace {

const Bytes kStoreCommand{0x12, 0x63, 0x53};

class SequenceTest : public ConfigWindowTest {
protected:
    bool SawCommand(const Bytes& bytes) {
        for (const auto& command : sim.Commands()) {
            if (command.bytes == bytes) {
                return true;
            }
        }
        return false;
    }

    void ExpectConnectedAndIdle() {
        EXPECT_EQ(ConnectButton()->text(), Text(IDS_DISCONNECT));
        EXPECT_TRUE(ConnectButton()->isEnabled());
        EXPECT_TRUE(SaveButton()->isEnabled());
        EXPECT_TRUE(window->PrinterObject()->IsConnected());
    }

    // The window can close the line and open it again, at the printer's flow control, without
    // complaint.
    void ExpectReconnects(int flowIndex) {
        ConnectButton()->click();
        ExpectNotConnected();
        ChooseSimulator(0, flowIndex);
        ConnectButton()->click();
        EXPECT_TRUE(
            QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
        EXPECT_TRUE(notifier.Messages().empty());
    }
};

TEST_F(SequenceTest, PortChangeTakesNoDisconnectOrSecondSave) {
    ASSERT_TRUE(Connect());
    Select(IDS_RS232);
    Find<QComboBox>(window->Page(kPagePort), "flowCombo")->setCurrentIndex(0);
    sim.ClearLog();
    SaveButton()->click();
    SaveButton()->click();  // the double-click
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Commands().size() >= 2; }, 3000));
    // Within the pauses around closing and reopening the line.
    for (int i = 0; i < 5; ++i) {
        EXPECT_FALSE(ConnectButton()->isEnabled());
        EXPECT_FALSE(SaveButton()->isEnabled());
        ConnectButton()->click();
        SaveButton()->click();
        QTest::qWait(100);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return SawCommand(kStoreCommand); }, 3000));
    QTest::qWait(50);
    ExpectConnectedAndIdle();
    const auto commands = sim.Commands();
    EXPECT_EQ(std::count_if(commands.begin(), commands.end(),
                            [](const auto& c) { return c.bytes == kReadRequest; }),
              1)
        << "the second click sent nothing";
    ExpectReconnects(0);
}

TEST_F(SequenceTest, NothingCutsIntoTheFirstRead) {
    ChooseSimulator();
    ConnectButton()->click();
    EXPECT_FALSE(ConnectButton()->isEnabled());
    EXPECT_FALSE(SaveButton()->isEnabled()) << "a save would take the first read's reply";
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
    ExpectConnectedAndIdle();
}

TEST_F(SequenceTest, RestoresTakeNoClicksAndShowTheRestoredValues) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTER_SETTINGS);
    auto* page = window->Page(kPageOptions);
    auto* feed = page->findChild<QCheckBox*>("feedCheck");
    notifier.LineUp({Answer::Yes});  // the factory restore's question
    for (const char* button : {"savedButton", "factoryButton"}) {
        // The printer's FEED button is off now and on in its stored and factory copies.
        sim.WithProtocol([](CSimProtocol& p) {
            CSimProtocol::Record record = p.Current();
            record[13] = 0;
            p.SetSaved(record);
            record[13] = 1;
            p.SetCurrent(record);
        });
        feed->setChecked(false);
        sim.ClearLog();
        page->findChild<QPushButton*>(button)->click();
        EXPECT_FALSE(ConnectButton()->isEnabled()) << button;
        EXPECT_FALSE(SaveButton()->isEnabled()) << button;
        ConnectButton()->click();
        SaveButton()->click();
        page->findChild<QPushButton*>("savedButton")->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return ConnectButton()->isEnabled(); }, 5000));
        ExpectConnectedAndIdle();
        EXPECT_TRUE(feed->isChecked()) << button << ": the page shows the restored value";
        EXPECT_EQ(sim.Commands().size(), 2u) << button << ": the restore and its read-back only";
    }
}

TEST_F(SequenceTest, FactoryRestoreWhoseReconnectFailsLeavesTheWindowDisconnected) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTER_SETTINGS);
    notifier.LineUp({Answer::Yes});
    window->Page(kPageOptions)->findChild<QPushButton*>("factoryButton")->click();
    // Another program takes the port while the window waits to reconnect.
    const int holder = ::open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ::flock(holder, LOCK_EX | LOCK_NB) == 0; }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 3000));
    QTest::qWait(200);
    ::close(holder);
    ExpectNotConnected();
    EXPECT_TRUE(ConnectionCombo("baudCombo")->isEnabled());
    EXPECT_TRUE(ConnectionCombo("flowCombo")->isEnabled());
    EXPECT_EQ(window->CurrentPageId(), kPageEmpty);
}

TEST_F(SequenceTest, DisconnectDuringTheInformationChainEndsIt) {
    ASSERT_TRUE(Connect());
    Select(IDS_SERVICE_INFO);
    SaveButton()->click();
    ConnectButton()->click();
    ExpectNotConnected();
    QTest::qWait(300);
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_TRUE(Connect());
    EXPECT_TRUE(notifier.Messages().empty());
}

}  // namespace
