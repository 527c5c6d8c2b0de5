#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <functional>

#include "ConfigWindowFixture.h"
#include "OptionFrame.h"

namespace {

struct PageCase {
    const char* name;
    int treeText;
    int pageId;
    std::function<void(CPage*)> change;
    int group;
    int mask;
    std::size_t recordByte;
    std::uint8_t value;
};

// Each settings page: after a change to one control, a save puts exactly that command (with
// the store command) on the wire, and the printer's record holds the new value.
TEST_F(ConfigWindowTest, EveryPageSavesWhatWasChanged) {
    const PageCase cases[] = {
        {"font height", IDS_FONT, kPageFont,
         [](CPage* page) { page->findChild<QComboBox*>("heightCombo")->setCurrentIndex(2); },
         kGroupFont, 0x01, 3, 0x90},
        {"font style", IDS_FONT, kPageFont,
         [](CPage* page) {
             page->findChild<QListWidget*>("styleList")->item(0)->setCheckState(Qt::Checked);
         },
         kGroupFont, 0x01, 3, 0x91},  // the page still shows the double height saved before
        {"barcode height", IDS_BARCODE, kPageBarcode,
         [](CPage* page) { page->findChild<QLineEdit*>("heightEdit")->setText("200"); },
         kGroupBarcode, 0x01, 8, 200},
        {"readable characters", IDS_BARCODE, kPageBarcode,
         [](CPage* page) { page->findChild<QCheckBox*>("readableCheck")->setChecked(true); },
         kGroupBarcode, 0x10, 7, 0x04},
        {"alignment", IDS_TEXT_POSITION, kPageTextPosition,
         [](CPage* page) { page->findChild<QComboBox*>("alignmentCombo")->setCurrentIndex(2); },
         kGroupTextPosition, 0x01, 6, 3},
        {"print field", IDS_TEXT_POSITION, kPageTextPosition,
         [](CPage* page) { page->findChild<QLineEdit*>("fieldEdit")->setText("72"); },
         kGroupTextPosition, 0x04, 12, 72},
        {"FEED button", IDS_PRINTER_SETTINGS, kPageOptions,
         [](CPage* page) { page->findChild<QCheckBox*>("feedCheck")->setChecked(false); },
         kGroupPrinterOptions, 0x02, 13, 1},
        {"dots", IDS_PRINTING, kPagePrinting,
         [](CPage* page) { page->findChild<QComboBox*>("dotsCombo")->setCurrentIndex(3); },
         kGroupPrinting, 0x04, 1, 128},
    };
    ASSERT_TRUE(Connect());
    for (const PageCase& c : cases) {
        Select(c.treeText);
        ASSERT_EQ(window->CurrentPageId(), c.pageId) << c.name;
        c.change(window->Page(c.pageId));
        sim.ClearLog();
        SaveButton()->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Commands().size() >= 3; }, 3000)) << c.name;
        PrinterSettings expected = window->Settings();
        Bytes wire = kReadRequest;
        const auto frame = BuildOptionFrame(expected, c.group, c.mask);
        wire.insert(wire.end(), frame.bytes.begin(), frame.bytes.end());
        EXPECT_EQ(sim.ReceivedBytes(), wire) << c.name;
        EXPECT_EQ(sim.Current()[c.recordByte], c.value) << c.name;
    }
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(ConfigWindowTest, PagesShowTheRecordWhenShown) {
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[3] = 0xFD;   // quadruple, quadruple, all styles
        record[10] = 0x2B;  // white field 5 lines, 3 mm
        record[6] = 7;      // unknown alignment shows left
        record[13] = 3;     // FEED disabled (bit 0)
        p.SetCurrent(record);
    });
    ASSERT_TRUE(Connect());
    Select(IDS_FONT);
    auto* font = window->Page(kPageFont);
    EXPECT_EQ(font->findChild<QComboBox*>("heightCombo")->currentText(), QString("Четверная"));
    EXPECT_EQ(font->findChild<QListWidget*>("styleList")->item(2)->checkState(), Qt::Checked);
    Select(IDS_BARCODE);
    auto* barcode = window->Page(kPageBarcode);
    EXPECT_EQ(barcode->findChild<QLineEdit*>("aboveBelowEdit")->text(), QString("5"));
    EXPECT_EQ(barcode->findChild<QLineEdit*>("leftRightEdit")->text(), QString("3"));
    Select(IDS_TEXT_POSITION);
    EXPECT_EQ(
        window->Page(kPageTextPosition)->findChild<QComboBox*>("alignmentCombo")->currentText(),
        QString("Влево"));
    Select(IDS_PRINTER_SETTINGS);
    EXPECT_FALSE(window->Page(kPageOptions)->findChild<QCheckBox*>("feedCheck")->isChecked());
    EXPECT_TRUE(SaveButton()->isVisible());
}

TEST_F(ConfigWindowTest, ReadableCharactersReadBackAsSaved) {
    ASSERT_TRUE(Connect());
    Select(IDS_BARCODE);
    window->Page(kPageBarcode)->findChild<QCheckBox*>("readableCheck")->setChecked(true);
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 3000));
    ConnectButton()->click();  // disconnect
    ASSERT_TRUE(Connect()) << (notifier.Messages().empty() ? "" : notifier.Messages()[0].text);
    Select(IDS_PRINTING);
    Select(IDS_BARCODE);
    EXPECT_TRUE(window->Page(kPageBarcode)->findChild<QCheckBox*>("readableCheck")->isChecked());
}

std::string InfoText() {
    return "Название принтера:  TQ-20 \nКонтроллер:  TQ-20 CPU rev.2\n"
           "Серийный номер принтера:  SN-20-004211\nВерсия внутреннего ПО:  1.07\n"
           "Обновление внутреннего ПО:  2026-10-14\nСерийный номер контроллера:  C-00734155\n"
           "Версия ПО загрузочной области:  1.02\nПрошивка загрузочной области:  BOOT-A0 1.02\n"
           "Шрифт:  Cyrillic 12x24\n\nСостояние принтера:";
}

TEST_F(ConfigWindowTest, InformationPageAsksTheChain) {
    const std::pair<std::uint8_t, std::string> cases[] = {
        {0x00, " OK"}, {0xC0, " OK"}, {0x03, "\n- Отсутствует бумага\n- Открыта крышка"}};
    ASSERT_TRUE(Connect());
    Select(IDS_SERVICE_INFO);
    ASSERT_EQ(window->CurrentPageId(), kPageInfo);
    EXPECT_EQ(SaveButton()->text(), QString("Запросить"));
    auto* text = window->Page(kPageInfo)->findChild<QPlainTextEdit*>("infoText");
    for (const auto& [state, ending] : cases) {
        sim.WithProtocol([state = state](CSimProtocol& p) { p.SetStatus(state); });
        SaveButton()->click();
        const QString expected = QString::fromStdString(InfoText() + ending);
        EXPECT_TRUE(QTest::qWaitFor([&] { return text->toPlainText() == expected; }, 5000))
            << text->toPlainText().toStdString();
    }
    Select(IDS_PRINTING);
    EXPECT_EQ(SaveButton()->text(), Text(IDS_SAVE_SETTINGS));
    Select(IDS_SERVICE_INFO);
    EXPECT_TRUE(text->toPlainText().isEmpty()) << "showing the page again empties it";
}

TEST_F(ConfigWindowTest, LongInformationWrapsAndIsShownFromTheTop) {
    sim.WithProtocol([](CSimProtocol& p) {
        p.SetInfoItem(1, std::string(300, 'N'));
        p.SetStatus(0x3F);
    });
    ASSERT_TRUE(Connect());
    Select(IDS_SERVICE_INFO);
    auto* text = window->Page(kPageInfo)->findChild<QPlainTextEdit*>("infoText");
    SaveButton()->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return text->toPlainText().endsWith("ниже допустимого"); }, 5000));
    QTest::qWait(0);
    EXPECT_EQ(text->horizontalScrollBar()->maximum(), 0) << "every line wraps";
    EXPECT_GT(text->verticalScrollBar()->maximum(), 0) << "the text scrolls down";
    EXPECT_EQ(text->verticalScrollBar()->value(), 0) << "the view stays at the top";
}

TEST_F(ConfigWindowTest, InformationTimeOutLeavesNoLineBehind) {
    ASSERT_TRUE(Connect());
    Select(IDS_SERVICE_INFO);
    sim.InjectFault({.kind = SimFaultKind::Silence});
    SaveButton()->click();
    auto* text = window->Page(kPageInfo)->findChild<QPlainTextEdit*>("infoText");
    EXPECT_EQ(text->toPlainText(), QString("Запрашиваю принтер..."));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 3000));
    EXPECT_TRUE(text->toPlainText().isEmpty());
    ExpectNotConnected();
}

TEST_F(ConfigWindowTest, FactoryRestoreReconnectsAtTheFactoryLine) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    ChooseSimulator(6, 0);
    ConnectButton()->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
    Select(IDS_PRINTER_SETTINGS);
    auto* factory = window->Page(kPageOptions)->findChild<QPushButton*>("factoryButton");
    notifier.LineUp({Answer::Yes});
    factory->click();
    EXPECT_FALSE(factory->isEnabled());
    EXPECT_FALSE(ConnectButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return factory->isEnabled(); }, 5000));
    EXPECT_EQ(ConnectionCombo("baudCombo")->currentText(), QString("115200"));
    EXPECT_EQ(ConnectionCombo("flowCombo")->currentText(), QString("RTS/CTS"));
    EXPECT_EQ(ConnectButton()->text(), Text(IDS_DISCONNECT));
    EXPECT_TRUE(SaveButton()->isEnabled());
    CSimProtocol::Record factoryRecord{};
    sim.WithProtocol([&](CSimProtocol& p) { factoryRecord = p.Factory(); });
    EXPECT_EQ(window->Settings().ToBytes(), factoryRecord);
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(ConfigWindowTest, SavedRestoreReadsBackAfterItsPause) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTER_SETTINGS);
    sim.ClearLog();
    // The restore goes out inside the click, so the pause is measured from before the click to
    // when the simulator read the request: a late read of either command under load can only
    // make it look longer, never shorter.
    const auto clicked = std::chrono::steady_clock::now();
    window->Page(kPageOptions)->findChild<QPushButton*>("savedButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Commands().size() >= 2; }, 3000));
    const auto commands = sim.Commands();
    EXPECT_EQ(commands[0].bytes, (Bytes{0x12, 0x30}));
    EXPECT_EQ(commands[1].bytes, kReadRequest);
    EXPECT_GE(commands[1].when - clicked, 500ms);
    ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 3000));
}

TEST_F(ConfigWindowTest, FailedReconnectAfterAPortChangeKeepsTheButton) {
    ASSERT_TRUE(Connect());
    Select(IDS_RS232);
    window->Page(kPagePort)->findChild<QComboBox*>("flowCombo")->setCurrentIndex(0);
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return sim.Commands().size() >= 2; }, 3000));
    // Another program takes the port while the window waits to reconnect.
    const int holder = ::open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ::flock(holder, LOCK_EX | LOCK_NB) == 0; }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 3000));
    EXPECT_EQ(notifier.Messages().back().text, "Can't open a specified port\n" + sim.DevicePath() +
                                                   " is in use by another program.");
    EXPECT_EQ(ConnectButton()->text(), Text(IDS_DISCONNECT));
    ::close(holder);
    ConnectButton()->click();
    ExpectNotConnected();
}

}  // namespace
