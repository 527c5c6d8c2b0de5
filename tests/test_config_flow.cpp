#include <QLineEdit>

#include "ConfigWindowFixture.h"

namespace {

// The printer and the window on an Xon/Xoff line: the host takes 17 and 19 out of replies.
class ConfigSoftwareFlowTest : public ConfigWindowTest {
protected:
    bool ConnectXonXoff() {
        sim.WithProtocol([](CSimProtocol& p) { p.SetLine({115200, 0, false, 2}); });
        ChooseSimulator(0, 2);
        ConnectButton()->click();
        return QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); },
                               5000);
    }
};

TEST_F(ConfigSoftwareFlowTest, ABarcodeSaveKeepsThePrinterReadable) {
    ASSERT_TRUE(ConnectXonXoff());
    Select(IDS_BARCODE);
    window->Page(kPageBarcode)->findChild<QLineEdit*>("heightEdit")->setText("19");
    window->Page(kPageBarcode)->findChild<QLineEdit*>("leftRightEdit")->setText("1");
    window->Page(kPageBarcode)->findChild<QLineEdit*>("aboveBelowEdit")->setText("2");
    sim.ClearLog();
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 3000));
    EXPECT_EQ(notifier.Messages().back(),
              (RecordingNotifier::Message{
                  "При управлении потоком Xon/Xoff принтер не может передать байты 17 и 19, "
                  "поэтому сохранено:\nВысота штрих-кода, линий: 20 вместо 19\nБелое поле "
                  "слева/справа, мм: 2 вместо 1",
                  "Velkor", MessageIcon::Exclamation}));
    ASSERT_TRUE(WaitForCommands(3, 3000));
    EXPECT_EQ(sim.Current()[8], 20);
    EXPECT_EQ(sim.Current()[10], 0x12);
    // The page shows what was stored, not what was typed, and has nothing left unsaved.
    EXPECT_EQ(window->Page(kPageBarcode)->findChild<QLineEdit*>("heightEdit")->text(), "20");
    EXPECT_EQ(window->Page(kPageBarcode)->findChild<QLineEdit*>("leftRightEdit")->text(), "2");
    EXPECT_FALSE(window->Page(kPageBarcode)->HasEdits());
    // The next save reads the record again over the same line.
    sim.ClearLog();
    SaveButton()->click();
    ASSERT_TRUE(WaitForCommands(1, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 3000));
    EXPECT_EQ(ConnectButton()->text(), Text(IDS_DISCONNECT)) << "the record was read";
}

// The printing page as the technician saw it: contrast 19 is stored as 20, and the window says
// so and shows 20 at once.
TEST_F(ConfigSoftwareFlowTest, AContrastOfNineteenIsToldAndShownAsStored) {
    ASSERT_TRUE(ConnectXonXoff());
    Select(IDS_PRINTING);
    auto* contrast = window->Page(kPagePrinting)->findChild<QSlider*>("contrastBar");
    contrast->setValue(19);
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 3000));
    EXPECT_NE(notifier.Messages().back().text.find("Контраст печати: 20 вместо 19"),
              std::string::npos)
        << notifier.Messages().back().text;
    EXPECT_EQ(contrast->value(), 20);
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Current()[0] == 20; }, 3000));
    EXPECT_EQ(notifier.Messages().size(), 1u);
}

}  // namespace
