// The main window in a technician's hands: edits are never dropped without a question, a save
// shows that it runs and how it ended, destructive buttons ask first, and failures say what the
// printer holds.
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QTreeWidgetItemIterator>

#include "ConfigWindowFixture.h"
#include "QtNotifier.h"

namespace {

class ConfigEditsTest : public ConfigWindowTest {
protected:
    QSlider* Contrast() { return Find<QSlider>(window->Page(kPagePrinting), "contrastBar"); }
    QTreeWidget* Tree() { return Find<QTreeWidget>(window.get(), "pageTree"); }
    QString Status() { return Find<QLabel>(window.get(), "statusLine")->text(); }
    QString SelectedText() { return Tree()->currentItem()->text(0); }

    bool WaitUntilIdle() {
        return QTest::qWaitFor([&] { return SaveButton()->isEnabled() && Tree()->isEnabled(); },
                               5000);
    }

    std::string UnsavedQuestion(int pageTitle) {
        QString text = Text(IDS_UNSAVED_EDITS);
        return text.replace("%s", Text(pageTitle)).toStdString();
    }
};

struct LeaveCase {
    const char* name;
    Answer answer;
    bool stored;     // the printer holds the edit afterwards
    bool leaves;     // the window shows the page chosen
    int shownValue;  // what the printing page's contrast shows when it is shown next
};

TEST_F(ConfigEditsTest, LeavingAnEditedPageAsksSaveDiscardOrCancel) {
    const LeaveCase cases[] = {
        {"save", Answer::Save, true, true, 20},
        {"discard", Answer::Discard, false, true, 8},
        {"cancel", Answer::Cancel, false, false, 20},
    };
    for (const LeaveCase& c : cases) {
        sim.WithProtocol([](CSimProtocol& p) {
            CSimProtocol::Record record = p.Current();
            record[0] = 8;
            p.SetCurrent(record);
        });
        ASSERT_TRUE(Connect()) << c.name;
        Select(IDS_PRINTING);
        ASSERT_EQ(Contrast()->value(), 8) << c.name;
        Contrast()->setValue(20);
        const std::size_t asked = notifier.Questions().size();
        notifier.LineUp({c.answer});
        Select(IDS_FONT);
        ASSERT_EQ(notifier.Questions().size(), asked + 1) << c.name;
        EXPECT_EQ(notifier.Questions().back().text, UnsavedQuestion(IDS_PRINTING)) << c.name;
        ASSERT_TRUE(WaitUntilIdle()) << c.name;
        QTest::qWait(100);
        EXPECT_EQ(sim.Current()[0], c.stored ? 20 : 8) << c.name;
        EXPECT_EQ(window->CurrentPageId(), c.leaves ? kPageFont : kPagePrinting) << c.name;
        EXPECT_EQ(SelectedText(), Text(c.leaves ? IDS_FONT : IDS_PRINTING)) << c.name;
        if (c.leaves) {
            Select(IDS_PRINTING);
        }
        EXPECT_EQ(Contrast()->value(), c.shownValue) << c.name;
        if (!c.leaves) {
            notifier.LineUp({Answer::Discard});
        }
        ConnectButton()->click();
        ExpectNotConnected();
    }
    EXPECT_EQ(notifier.Questions().size(), 4u) << "three leaves and the disconnect after cancel";
    EXPECT_TRUE(notifier.Messages().empty());
}

// A click on another page, then "Cancel": the tree marks the page that stays, not the one
// clicked.
TEST_F(ConfigEditsTest, ACancelledClickLeavesTheTreeOnThePage) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    Contrast()->setValue(20);
    Tree()->expandAll();
    const auto font = Tree()->findItems(Text(IDS_FONT), Qt::MatchExactly | Qt::MatchRecursive);
    ASSERT_EQ(font.size(), 1);
    notifier.LineUp({Answer::Cancel});
    QTest::mouseClick(Tree()->viewport(), Qt::LeftButton, {},
                      Tree()->visualItemRect(font[0]).center());
    QTest::qWait(50);
    EXPECT_EQ(window->CurrentPageId(), kPagePrinting);
    ASSERT_EQ(Tree()->selectedItems().size(), 1);
    EXPECT_EQ(Tree()->selectedItems()[0]->text(0), Text(IDS_PRINTING));
    EXPECT_EQ(SelectedText(), Text(IDS_PRINTING));
    EXPECT_EQ(Contrast()->value(), 20);
}

// "Save" on a page with a number its setting cannot take is refused as the save button is: the
// window stays on the page, with the field pointed out, and nothing goes to the printer.
TEST_F(ConfigEditsTest, SavingARefusedNumberOnTheWayOutStaysOnThePage) {
    ASSERT_TRUE(Connect());
    Select(IDS_TEXT_POSITION);
    auto* field = Find<QLineEdit>(window->Page(kPageTextPosition), "fieldEdit");
    field->setText("999");
    sim.ClearLog();
    notifier.LineUp({Answer::Save});
    Select(IDS_BARCODE);
    QTest::qWait(50);
    EXPECT_EQ(window->CurrentPageId(), kPageTextPosition);
    EXPECT_EQ(SelectedText(), Text(IDS_TEXT_POSITION));
    EXPECT_TRUE(field->hasFocus());
    QTest::qWait(200);
    EXPECT_TRUE(sim.Commands().empty());
    EXPECT_TRUE(SaveButton()->isEnabled());
}

// The whole job: one value on each of the six settings pages, each page left with "Save".
TEST_F(ConfigEditsTest, EveryPageSavedOnTheWayIsStored) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    Contrast()->setValue(20);
    notifier.LineUp({Answer::Save});
    Select(IDS_FONT);
    ASSERT_TRUE(WaitUntilIdle());
    ASSERT_EQ(window->CurrentPageId(), kPageFont);
    Find<QComboBox>(window->Page(kPageFont), "heightCombo")->setCurrentIndex(2);
    notifier.LineUp({Answer::Save});
    Select(IDS_TEXT_POSITION);
    ASSERT_TRUE(WaitUntilIdle());
    Find<QLineEdit>(window->Page(kPageTextPosition), "indentEdit")->setText("5");
    notifier.LineUp({Answer::Save});
    Select(IDS_BARCODE);
    ASSERT_TRUE(WaitUntilIdle());
    Find<QLineEdit>(window->Page(kPageBarcode), "heightEdit")->setText("100");
    notifier.LineUp({Answer::Save});
    Select(IDS_PRINTER_SETTINGS);
    ASSERT_TRUE(WaitUntilIdle());
    Find<QCheckBox>(window->Page(kPageOptions), "feedCheck")->toggle();
    const bool feedDisabled = sim.Current()[13] == 0;
    notifier.LineUp({Answer::Save});
    Select(IDS_RS232);
    ASSERT_TRUE(WaitUntilIdle());
    Find<QComboBox>(window->Page(kPagePort), "baudCombo")->setCurrentIndex(1);  // 57600
    notifier.LineUp({Answer::Save});
    Select(IDS_SERVICE_INFO);
    // The port change reopens the line at the printer's new speed.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window->CurrentPageId() == kPageInfo; }, 5000));
    ASSERT_TRUE(WaitUntilIdle());

    const CSimProtocol::Record held = sim.Current();
    EXPECT_EQ(held[0], 20);
    EXPECT_EQ(held[3] >> 6, 2) << "font height: double";
    EXPECT_EQ(held[5], 5);
    EXPECT_EQ(held[8], 100);
    EXPECT_EQ(held[13], feedDisabled ? 1 : 0);
    EXPECT_EQ(held[16] & 0x0F, 1) << "57600";
    EXPECT_EQ(notifier.Questions().size(), 6u);
    EXPECT_TRUE(notifier.Messages().empty());
    EXPECT_EQ(Status(), Text(IDS_SAVED));
}

TEST_F(ConfigEditsTest, DisconnectingAndClosingAskForTheShownPage) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    Contrast()->setValue(20);

    notifier.LineUp({Answer::Cancel});
    ConnectButton()->click();
    EXPECT_TRUE(window->PrinterObject()->IsConnected()) << "cancel stays connected";
    window->close();
    EXPECT_TRUE(window->isVisible()) << "cancel keeps the window open";
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_TRUE(window->isVisible()) << "Escape asks as well";
    EXPECT_EQ(notifier.Questions().size(), 3u);
    EXPECT_EQ(Contrast()->value(), 20) << "the edit is kept";

    notifier.LineUp({Answer::Save});
    ConnectButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->PrinterObject()->IsConnected(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.Current()[0] == 20; }, 2000))
        << "saved before the line closed";
    EXPECT_EQ(ConnectButton()->text(), Text(IDS_CONNECT));

    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    Contrast()->setValue(12);
    notifier.LineUp({Answer::Save});
    window->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window->isVisible(); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.Current()[0] == 12; }, 2000))
        << "saved before the window closed";
    EXPECT_TRUE(notifier.Messages().empty());
}

// The page shown when nothing was typed asks nothing, even when the record holds a byte the page
// would store differently.
TEST_F(ConfigEditsTest, AnUntouchedPageAsksNothing) {
    sim.WithProtocol([](CSimProtocol& p) {
        CSimProtocol::Record record = p.Current();
        record[6] = 0;  // no alignment the page can show
        p.SetCurrent(record);
    });
    ASSERT_TRUE(Connect());
    Tree()->expandAll();
    for (int title : {IDS_PRINTER_SETTINGS, IDS_PRINTING, IDS_FONT, IDS_TEXT_POSITION, IDS_BARCODE,
                      IDS_RS232, IDS_SERVICE_INFO, IDS_CONNECTION}) {
        Select(title);
    }
    ConnectButton()->click();
    EXPECT_TRUE(notifier.Questions().empty());
    ExpectNotConnected();
}

// The page area is as large as the largest page: the window does not change size as the
// technician moves between pages.
TEST_F(ConfigEditsTest, TheWindowKeepsOneSizeAcrossPages) {
    ASSERT_TRUE(Connect());
    Tree()->expandAll();
    const QSize size = window->size();
    for (QTreeWidgetItemIterator it(Tree()); *it != nullptr; ++it) {
        Tree()->setCurrentItem(*it);
        QTest::qWait(20);
        EXPECT_EQ(window->size(), size) << (*it)->text(0).toStdString();
    }
}

TEST_F(ConfigEditsTest, ASaveLooksBusyAndEndsInTheStatusLine) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    Contrast()->setValue(20);
    SaveButton()->click();
    EXPECT_EQ(Status(), Text(IDS_SAVING));
    EXPECT_FALSE(SaveButton()->isEnabled());
    EXPECT_FALSE(Tree()->isEnabled());
    EXPECT_FALSE(window->Page(kPagePrinting)->isEnabled());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::BusyCursor);
    ASSERT_TRUE(WaitUntilIdle());
    EXPECT_EQ(Status(), Text(IDS_SAVED));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(window->Page(kPagePrinting)->isEnabled());

    // A printer that stops answering: nothing was sent, and the window says so.
    Contrast()->setValue(12);
    sim.InjectFault({.kind = SimFaultKind::Silence});
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 5000));
    EXPECT_EQ(notifier.Messages().back().text, std::string(ConfigString(IDS_REPLY_TIMEOUT)) + "\n" +
                                                   ConfigString(IDS_SAVE_NOTHING_SENT));
    EXPECT_EQ(Status(), Text(IDS_NOT_SAVED));
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// The port's frame went out, and the line is gone before the store command could follow it.
TEST_F(ConfigEditsTest, ALineLostInAPortChangeSaysTheStoreDidNotGoOut) {
    ASSERT_TRUE(Connect());
    Select(IDS_RS232);
    Find<QComboBox>(window->Page(kPagePort), "baudCombo")->setCurrentIndex(1);
    sim.ClearLog();
    SaveButton()->click();
    ASSERT_TRUE(WaitForCommands(2, 3000));  // the read and the port's frame
    sim.Stop();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 5000));
    EXPECT_EQ(notifier.Messages().back().text, std::string(ConfigString(IDS_LINE_LOST)) + "\n" +
                                                   ConfigString(IDS_SAVE_PORT_NOT_STORED));
    EXPECT_EQ(Status(), Text(IDS_NOT_SAVED));
}

TEST_F(ConfigEditsTest, FactoryRestoreAsksFirst) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTER_SETTINGS);
    auto* factory = window->Page(kPageOptions)->findChild<QPushButton*>("factoryButton");
    sim.ClearLog();
    factory->click();  // answered with the default: No
    QTest::qWait(300);
    ASSERT_EQ(notifier.Questions().size(), 1u);
    EXPECT_EQ(notifier.Questions()[0].text, ConfigString(IDS_CONFIRM_FACTORY));
    EXPECT_TRUE(sim.Commands().empty()) << "nothing restored";
    EXPECT_TRUE(factory->isEnabled());

    notifier.LineUp({Answer::Yes});
    factory->click();
    ASSERT_TRUE(WaitForCommands(1, 3000));
    EXPECT_EQ(sim.Commands()[0].bytes, (Bytes{0x12, 0x50, 0x43})) << "the factory restore";
}

// A double click on the connect button is one click: the second press does not undo the first.
TEST_F(ConfigEditsTest, ADoubleClickOnTheConnectButtonTogglesOnce) {
    ASSERT_TRUE(Connect());
    // Through the window system, as a real double click comes: press, release, press (which Qt
    // turns into a double click), release.
    const auto doubleClick = [this] {
        QTest::mouseDClick(window->windowHandle(), Qt::LeftButton, {},
                           ConnectButton()->mapTo(window.get(), ConnectButton()->rect().center()));
    };
    doubleClick();
    QTest::qWait(300);
    ExpectNotConnected();
    ChooseSimulator();
    QTest::qWait(QApplication::doubleClickInterval());
    doubleClick();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
    QTest::qWait(300);
    EXPECT_TRUE(window->PrinterObject()->IsConnected());
}

// The real message box: the safe answer is the default, and its buttons speak the program's
// language.
TEST(QtNotifierQuestion, DefaultsToTheAnswerThatChangesNothing) {
    struct Case {
        Question question;
        QString defaultText;
        Answer onEnter;
        Answer onEscape;
    };
    const Case cases[] = {
        {Question::YesNo, "Нет", Answer::No, Answer::No},
        {Question::SaveDiscardCancel, "Сохранить", Answer::Save, Answer::Cancel},
    };
    for (const Case& c : cases) {
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            CQtNotifier notifier;
            QString shownDefault;
            QTimer::singleShot(50, [&] {
                auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                ASSERT_NE(box, nullptr);
                shownDefault = box->defaultButton()->text();
                QTest::keyClick(box, key);
            });
            const Answer answer = notifier.Ask("?", "Velkor", c.question);
            EXPECT_EQ(shownDefault, c.defaultText);
            EXPECT_EQ(answer, key == Qt::Key_Return ? c.onEnter : c.onEscape);
        }
    }
}

}  // namespace
