#include <QLabel>

#include "CAboutDlg.h"
#include "CommandTable.h"
#include "ConfigWindowFixture.h"
#include "OptionFrame.h"
#include "Tq20Version.h"

namespace {

TEST(ConfiguratorAboutBox, ShowsTheVersionOfTheBuild) {
    CAboutDlg about;
    EXPECT_EQ(about.findChild<QLabel*>("version")->text(),
              QString("Версия ") + QString::fromLatin1(kTq20Version));
}

TEST_F(ConfigWindowTest, FirstStart) {
    EXPECT_EQ(window->windowTitle(), QString("TQ-20 Конфигуратор"));
    EXPECT_EQ(window->CurrentPageId(), kPageConnection);
    EXPECT_TRUE(window->ConnectionPage()->isVisible());
    EXPECT_EQ(ConnectButton()->text(), QString("Установить соединение"));
    auto* tree = Find<QTreeWidget>(window.get(), "pageTree");
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(1)->childCount(), 5);
    EXPECT_EQ(tree->topLevelItem(1)->child(2)->text(0), QString("Позиционирование текста"));
    EXPECT_EQ(tree->currentItem(), nullptr);
    EXPECT_FALSE(tree->topLevelItem(1)->isExpanded());
}

TEST_F(ConfigWindowTest, FirstStartConnectsToTheNamedPortOnTheFactoryLine) {
    // The simulator starts on the printer's factory line; a port that sorts first is offered too.
    window = std::make_unique<CConfigDlg>(
        notifier, *profile, queues, std::vector<std::string>{sim.DevicePath(), "/dev/!first"});
    window->SetReplyWatch(300ms);
    window->show();
    EXPECT_EQ(ConnectionCombo("portCombo")->currentText(),
              QString::fromStdString(sim.DevicePath()));
    EXPECT_EQ(ConnectionCombo("baudCombo")->currentText(), QString("115200"));
    EXPECT_EQ(ConnectionCombo("flowCombo")->currentText(), QString("RTS/CTS"));
    ConnectButton()->click();
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(ConfigWindowTest, StoredPositionIsRestoredUnlessAbsent) {
    const std::tuple<int, int, bool> cases[] = {{120, 80, true},          {-9999, 80, false},
                                                {120, -9999, false},      {2147483647, 80, false},
                                                {-2147483647, -5, false}, {40, 100000, false}};
    for (const auto& [left, top, moved] : cases) {
        profile->SetInt("Window", "left", left);
        profile->SetInt("Window", "top", top);
        Open();
        EXPECT_EQ(window->pos() == QPoint(left, top), moved) << left << "," << top;
    }
}

TEST_F(ConfigWindowTest, ConnectReadsTheSettingsAndShowsThem) {
    ChooseSimulator();
    ConnectButton()->click();
    EXPECT_EQ(ConnectButton()->text(), QString("Соединение..."));
    EXPECT_FALSE(ConnectButton()->isEnabled());
    EXPECT_FALSE(ConnectionCombo("portCombo")->isEnabled());
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
    EXPECT_TRUE(ConnectButton()->isEnabled());
    EXPECT_EQ(window->Settings().ToBytes(), sim.Current());
    EXPECT_EQ(Find<QGroupBox>(window->ConnectionPage(), "groupBox")->title(),
              QString("# Соединение с принтером"));
    EXPECT_EQ(window->CurrentPageId(), kPageConnection);
    Select(IDS_PRINTING);
    EXPECT_EQ(window->CurrentPageId(), kPagePrinting);
    EXPECT_EQ(Find<QSlider>(window->Page(kPagePrinting), "contrastBar")->value(), sim.Current()[0]);
    EXPECT_TRUE(SaveButton()->isVisible());
    EXPECT_TRUE(notifier.Messages().empty());
}

struct FailedReadCase {
    const char* name;
    SimFault fault;
    const char* text;
};

TEST_F(ConfigWindowTest, FailedFirstReadClosesTheConnection) {
    const FailedReadCase cases[] = {
        {"20 bytes",
         {.kind = SimFaultKind::WrongLength, .lengthDelta = 1},
         "Ошибка связи. Выберите режим Xon/Xoff для управления потоком."},
        // The time-out points to the line search.
        {"silence",
         {.kind = SimFaultKind::Silence},
         "Истекло время ожидания ответа от принтера\nВозможно, принтер работает на другой линии: "
         "нажмите «Найти принтер» на странице соединения."},
        // Last: the simulator's line is gone afterwards.
        {"hang-up",
         {.kind = SimFaultKind::HangUp, .hangUpAfter = 5},
         "Связь с принтером потеряна."},
    };
    for (const FailedReadCase& c : cases) {
        sim.InjectFault(c.fault);
        const std::size_t before = notifier.Messages().size();
        ChooseSimulator();
        ConnectButton()->click();
        ASSERT_TRUE(QTest::qWaitFor([&] { return notifier.Messages().size() > before; }, 5000))
            << c.name;
        EXPECT_EQ(notifier.Messages().back(), (Message{c.text, "Velkor", MessageIcon::Exclamation}))
            << c.name;
        ExpectNotConnected();
        QTest::qWait(300);
        EXPECT_EQ(notifier.Messages().size(), before + 1) << c.name << ": one message only";
    }
}

TEST_F(ConfigWindowTest, SaveWritesOnlyWhatChanged) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    sim.ClearLog();
    SaveButton()->click();
    EXPECT_FALSE(SaveButton()->isEnabled());
    ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 3000));
    QTest::qWait(200);
    EXPECT_EQ(sim.ReceivedBytes(), kReadRequest) << "an unchanged page sends only the read";

    Find<QSlider>(window->Page(kPagePrinting), "contrastBar")->setValue(20);
    sim.ClearLog();
    SaveButton()->click();
    ASSERT_TRUE(WaitForCommands(3, 3000));
    PrinterSettings expected = window->Settings();
    expected.contrast = 20;
    Bytes wire = kReadRequest;
    const auto frame = BuildOptionFrame(expected, kGroupPrinting, 0x01).bytes;
    wire.insert(wire.end(), frame.begin(), frame.end());
    EXPECT_EQ(sim.ReceivedBytes(), wire);
    EXPECT_EQ(sim.Current()[0], 20);
}

TEST_F(ConfigWindowTest, PortChangeReconnectsAndStoresWithItsPauses) {
    ASSERT_TRUE(Connect());
    Select(IDS_RS232);
    ASSERT_EQ(window->CurrentPageId(), kPagePort);
    Find<QComboBox>(window->Page(kPagePort), "baudCombo")->setCurrentIndex(2);  // 38400
    Find<QComboBox>(window->Page(kPagePort), "flowCombo")->setCurrentIndex(2);  // Xon/Xoff
    sim.ClearLog();
    SaveButton()->click();
    ASSERT_TRUE(WaitForCommands(3, 5000));
    const auto commands = sim.Commands();
    EXPECT_EQ(commands[0].bytes, kReadRequest);
    EXPECT_EQ(commands[1].bytes, (Bytes{0x12, 0x55, 2, 0x20}));
    EXPECT_EQ(commands[2].bytes, (Bytes{0x12, 0x63, 0x53}));
    // 300 ms before closing, 300 ms before reconnecting, 100 ms before the store command. The
    // simulator stamps a command when its reader gets to it, which a loaded machine can delay
    // for the port command alone; the bound still fails if any one of the pauses is missing.
    EXPECT_GE(commands[2].when - commands[1].when, 650ms);
    EXPECT_EQ(ConnectionCombo("baudCombo")->currentText(), QString("38400"));
    EXPECT_EQ(ConnectionCombo("flowCombo")->currentText(), QString("Xon/Xoff"));
    EXPECT_EQ(ConnectButton()->text(), Text(IDS_DISCONNECT));
    CSimProtocol::Record saved{};
    sim.WithProtocol([&](CSimProtocol& p) { saved = p.Saved(); });
    EXPECT_EQ(saved[16], 2);
    EXPECT_EQ(saved[18], 0x20);
    // The printer, now at 38400 with Xon/Xoff, answers the reconnected window.
    sim.ClearLog();
    Select(IDS_PRINTING);
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 3000));
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(ConfigWindowTest, RequestsStayResponsiveDuringTheWaits) {
    ChooseSimulator();
    const auto clicked = std::chrono::steady_clock::now();
    ConnectButton()->click();
    // The first read waits 100 ms, but the window keeps handling events meanwhile.
    bool handled = false;
    QTimer::singleShot(10, window.get(), [&] { handled = true; });
    // Handled before the read goes out: a wait that blocked the window would send it first.
    ASSERT_TRUE(QTest::qWaitFor([&] { return handled || !sim.Commands().empty(); }, 3000));
    EXPECT_TRUE(handled);
    ASSERT_TRUE(WaitForCommands(1, 3000));
    EXPECT_GE(sim.Commands()[0].when - clicked, 100ms);
}

TEST_F(ConfigWindowTest, EmptyPortNameIsRefusedBeforeAnythingOpens) {
    ConnectionCombo("portCombo")->setCurrentIndex(-1);
    ConnectionCombo("portCombo")->setEditText("");
    ConnectButton()->click();
    ASSERT_EQ(notifier.Messages().size(), 1u);
    EXPECT_EQ(notifier.Messages()[0].caption, "Velkor");
    EXPECT_EQ(window->PrinterObject(), nullptr);
    ExpectNotConnected();
}

TEST_F(ConfigWindowTest, UserDisconnectDuringASaveGivesTheButtonBack) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    sim.InjectFault({.kind = SimFaultKind::Silence});
    SaveButton()->click();
    EXPECT_FALSE(SaveButton()->isEnabled());
    ConnectButton()->click();
    EXPECT_TRUE(SaveButton()->isEnabled());
    ExpectNotConnected();
    EXPECT_EQ(window->CurrentPageId(), kPageEmpty);
    QTest::qWait(500);
    EXPECT_TRUE(notifier.Messages().empty()) << "a closed connection reports nothing";
}

TEST_F(ConfigWindowTest, PagesNeedAConnection) {
    Select(IDS_PRINTING);
    EXPECT_EQ(window->CurrentPageId(), kPageEmpty);
    EXPECT_FALSE(SaveButton()->isVisible());
    EXPECT_EQ(Find<QGroupBox>(window->Page(kPageEmpty), "groupBox")->title(),
              QString("Соединение с принтером не установлено"));
    Select(IDS_CONNECTION);
    EXPECT_EQ(window->CurrentPageId(), kPageConnection);
}

TEST_F(ConfigWindowTest, CloseWritesTheProfileAndEscapeDoesNot) {
    ConnectionCombo("baudCombo")->setCurrentIndex(4);
    ConnectionCombo("flowCombo")->setCurrentIndex(2);
    QTest::keyClick(window.get(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(profile->GetInt("Interface", "BaudRateIndex", -5), -5);
    Open();
    ConnectionCombo("baudCombo")->setCurrentIndex(4);
    ConnectionCombo("flowCombo")->setCurrentIndex(2);
    window->move(40, 30);
    window->close();
    EXPECT_EQ(profile->GetInt("Interface", "BaudRateIndex", -5), 4);
    EXPECT_EQ(profile->GetInt("Interface", "FlowControlIndex", -5), 2);
    EXPECT_EQ(profile->GetInt("Window", "left", 0), 40);
    Open();
    EXPECT_EQ(ConnectionCombo("baudCombo")->currentIndex(), 4);
    EXPECT_EQ(ConnectionCombo("flowCombo")->currentIndex(), 2);
}

TEST_F(ConfigWindowTest, PortIsRememberedByName) {
    const QString typed = QString::fromStdString(folder.filePath("typed-port").toStdString());
    ConnectionCombo("portCombo")->setEditText(typed);
    window->close();
    EXPECT_EQ(profile->GetString("Interface", "PortName", ""), typed.toStdString());
    simulatorOnCommandLine = false;
    Open();
    EXPECT_EQ(ConnectionCombo("portCombo")->currentText(), typed) << "added back to the list";
    EXPECT_GE(ConnectionCombo("portCombo")->findText(typed), 0);
    // A profile from before names were kept selects by index.
    profile->SetString("Interface", "PortName", "");
    profile->SetInt("Interface", "PortIndex", 0);
    Open();
    QComboBox* ports = ConnectionCombo("portCombo");
    EXPECT_EQ(ports->currentIndex(), ports->count() > 0 ? 0 : -1);
    // A port named on the command line wins over the remembered one.
    profile->SetString("Interface", "PortName", typed.toStdString());
    simulatorOnCommandLine = true;
    Open();
    EXPECT_EQ(ConnectionCombo("portCombo")->currentText(),
              QString::fromStdString(sim.DevicePath()));
}

TEST_F(ConfigWindowTest, EnterAndEscapeInsideAPageDoNothing) {
    for (int key : {Qt::Key_Return, Qt::Key_Escape}) {
        QTest::keyClick(window->ConnectionPage(), static_cast<Qt::Key>(key));
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->ConnectionPage()->isVisible());
    }
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible()) << "Enter never closes the main window";
}

}  // namespace
