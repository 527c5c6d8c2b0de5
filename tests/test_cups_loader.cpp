#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "CCupsPrinterQueues.h"
#include "CLoaderDlg.h"
#include "CPrinterSim.h"
#include "CupsServer.h"
#include "LoaderFiles.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"

namespace {

using namespace std::chrono_literals;

// The loader's window with the system's CUPS queues: a private scheduler with a raw queue on
// the simulator's pseudo-terminal.
class CupsLoaderTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cups.Start()) {
            GTEST_SKIP() << "no CUPS scheduler here: " << cups.Error();
        }
        ASSERT_TRUE(sim.Start());
        ASSERT_TRUE(cups.AddSerialQueue("Receipts", sim.DevicePath()));
        queues = std::make_unique<CCupsPrinterQueues>(cups.JournalFolder());
    }

    CupsServer cups;
    CPrinterSim sim;
    QTemporaryDir folder;
    RecordingNotifier notifier;
    std::unique_ptr<CCupsPrinterQueues> queues;
};

// The loader holds the port's queues from the load button until the load's one message, whether
// the load ends by itself (here the printer's silence) or is stopped; a stopped load has let go
// of them by the time its message comes up.
TEST_F(CupsLoaderTest, HoldsTheQueueDuringALoad) {
    sim.InjectFault({SimFaultKind::Silence});
    const TempFile font("font.fnt", FontFileBytes("TQ-20", Pattern(64, 3)));
    const auto loaderProfile = CQtProfileStore::AtFile(folder.filePath("Loader.ini"));
    CLoaderDlg loader(notifier, *loaderProfile);
    loader.SetPrinterQueues(queues.get());
    loader.SetReplyWatch(1500ms);
    loader.show();
    std::string stateAtMessage;
    notifier.OnMessage([&] { stateAtMessage = cups.State("Receipts"); });
    for (const bool stopped : {false, true}) {
        const std::size_t before = notifier.Messages().size();
        loader.findChild<QComboBox*>("portCombo")
            ->setEditText(QString::fromStdString(sim.DevicePath()));
        loader.findChild<QComboBox*>("baudCombo")->setCurrentText("115200");
        loader.findChild<QLineEdit*>("fileEdit")->setText(QString::fromStdString(font.Path()));
        loader.findChild<QPushButton*>("loadButton")->click();
        // The file is read off the window's thread first; the port is taken once it is good.
        EXPECT_TRUE(QTest::qWaitFor([&] { return cups.State("Receipts") == "disabled"; }, 5000));
        if (stopped) {
            loader.findChild<QPushButton*>("stopButton")->click();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return notifier.Messages().size() > before; }, 10000));
        EXPECT_EQ(cups.State("Receipts"), "idle");
        if (stopped) {
            EXPECT_EQ(stateAtMessage, "idle");
        }
    }
}

}  // namespace
