#include <gtest/gtest.h>

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "CConfigDlg.h"
#include "CConnectionDlg.h"
#include "CCupsPrinterQueues.h"
#include "CPrinterSim.h"
#include "ConfiguratorStrings.h"
#include "CupsServer.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"

namespace {

// The configurator's window with the system's CUPS queues: a private scheduler with a raw
// queue on the simulator's pseudo-terminal, which no other port source lists.
class CupsWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cups.Start()) {
            GTEST_SKIP() << "no CUPS scheduler here: " << cups.Error();
        }
        ASSERT_TRUE(sim.Start());
        ASSERT_TRUE(cups.AddSerialQueue("Receipts", sim.DevicePath()));
        queues = std::make_unique<CCupsPrinterQueues>(cups.JournalFolder());
        profile = CQtProfileStore::AtFile(folder.filePath("Velkor.ini"));
        window =
            std::make_unique<CConfigDlg>(notifier, *profile, *queues, std::vector<std::string>{});
        window->show();
    }

    QComboBox* Combo(const char* name) {
        return window->ConnectionPage()->findChild<QComboBox*>(name);
    }
    QPushButton* ConnectButton() { return window->findChild<QPushButton*>("connectButton"); }
    bool ButtonReads(int id) {
        return QTest::qWaitFor(
            [&] { return ConnectButton()->text() == QString::fromUtf8(ConfigString(id)); }, 5000);
    }

    CupsServer cups;
    CPrinterSim sim;
    QTemporaryDir folder;
    RecordingNotifier notifier;
    std::unique_ptr<CCupsPrinterQueues> queues;
    std::unique_ptr<CQtProfileStore> profile;
    std::unique_ptr<CConfigDlg> window;
};

TEST_F(CupsWindowTest, PortListOffersTheQueueDeviceAndConnectingHoldsTheQueue) {
    const int index = Combo("portCombo")->findText(QString::fromStdString(sim.DevicePath()));
    ASSERT_GE(index, 0) << "the queue's device is in the port list";
    Combo("portCombo")->setCurrentIndex(index);
    Combo("baudCombo")->setCurrentIndex(0);
    Combo("flowCombo")->setCurrentIndex(1);
    ConnectButton()->click();
    ASSERT_TRUE(ButtonReads(IDS_DISCONNECT));
    EXPECT_EQ(cups.State("Receipts"), "disabled");
    ConnectButton()->click();
    ASSERT_TRUE(ButtonReads(IDS_CONNECT));
    EXPECT_EQ(cups.State("Receipts"), "idle");
    EXPECT_TRUE(notifier.Messages().empty());
}

}  // namespace
