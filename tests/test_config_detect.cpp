// The connection page's "Найти принтер": the same line search as tq20 detect, with real widgets
// against the simulator.
#include <QLabel>
#include <QProgressBar>

#include "ConfigWindowFixture.h"
#include "PtyPair.h"

namespace {

class ConfigFindPrinterTest : public ConfigWindowTest {
protected:
    QPushButton* FindButton() { return Find<QPushButton>(window->ConnectionPage(), "findButton"); }
    QProgressBar* Progress() {
        return Find<QProgressBar>(window->ConnectionPage(), "findProgress");
    }
    QString Status() { return Find<QLabel>(window->ConnectionPage(), "findStatus")->text(); }
    bool WaitUntilFinished(int milliseconds) {
        return QTest::qWaitFor([&] { return FindButton()->text() == "Найти принтер"; },
                               milliseconds);
    }
};

struct FoundLineCase {
    SimLine line;
    const char* status;
    const char* baud;
    int framingIndex;
    int flowIndex;
};

// The printer is found, its line chosen on the page and connected to, and after a disconnect
// connected to again: the search and the connections leave the line as the next one asks for it,
// and a pseudo-terminal keeps no parity bit, which such a reopen once took for a refusal.
TEST_F(ConfigFindPrinterTest, FindsThePrinterAndChoosesItsLine) {
    const FoundLineCase cases[] = {
        {{9600, 0, false, 2}, "Принтер найден: 9600 бит/с; 1,  None; Xon/Xoff.", "9600", 0, 2},
        {{1200, 1, true, 2}, "Принтер найден: 1200 бит/с; 2,  Odd; Xon/Xoff.", "1200", 3, 2},
    };
    for (const FoundLineCase& c : cases) {
        sim.WithProtocol([&](CSimProtocol& p) { p.SetLine(c.line); });
        ChooseSimulator(0, 1);
        ASSERT_EQ(FindButton()->text(), "Найти принтер");
        FindButton()->click();
        EXPECT_EQ(FindButton()->text(), "Остановить поиск");
        EXPECT_FALSE(ConnectButton()->isEnabled()) << "the port is the search's meanwhile";
        EXPECT_FALSE(ConnectionCombo("baudCombo")->isEnabled());
        ASSERT_TRUE(WaitUntilFinished(20000)) << Status().toStdString();
        EXPECT_EQ(Status(), c.status);
        EXPECT_EQ(ConnectionCombo("baudCombo")->currentText(), c.baud);
        EXPECT_EQ(ConnectionCombo("framingCombo")->currentIndex(), c.framingIndex);
        EXPECT_EQ(ConnectionCombo("flowCombo")->currentIndex(), c.flowIndex);
        EXPECT_FALSE(Progress()->isVisible());
        EXPECT_TRUE(ConnectButton()->isEnabled());
        for (int connect = 1; connect <= 2; ++connect) {
            ConnectButton()->click();
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000))
                << c.status << ", connect " << connect;
            EXPECT_FALSE(FindButton()->isEnabled()) << "no search on a port the window holds";
            ConnectButton()->click();
            ASSERT_TRUE(QTest::qWaitFor(
                [&] { return ConnectButton()->text() == Text(IDS_CONNECT); }, 5000));
        }
        EXPECT_TRUE(notifier.Messages().empty()) << c.status;
    }
}

// Nobody on the line: the progress counts the tries, and the button stops the search.
TEST_F(ConfigFindPrinterTest, ShowsProgressAndStopsWhenAsked) {
    PtyPair silent;
    ConnectionCombo("portCombo")->setEditText(QString::fromStdString(silent.SlavePath()));
    FindButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Progress()->value() >= 3; }, 5000));
    EXPECT_TRUE(Progress()->isVisible());
    EXPECT_EQ(Progress()->maximum(), 180);
    EXPECT_TRUE(Status().startsWith("Проверяется: ")) << Status().toStdString();
    FindButton()->click();
    ASSERT_TRUE(WaitUntilFinished(1000)) << "a stop ends the waiting try at once";
    EXPECT_EQ(Status(), "Поиск остановлен.");
    EXPECT_TRUE(ConnectionCombo("portCombo")->isEnabled());
    EXPECT_TRUE(ConnectButton()->isEnabled());
}

TEST_F(ConfigFindPrinterTest, APortThatDoesNotOpenIsReported) {
    ConnectionCombo("portCombo")->setEditText("/dev/no-such-printer");
    FindButton()->click();
    ASSERT_TRUE(WaitUntilFinished(5000));
    ASSERT_EQ(notifier.Messages().size(), 1u);
    EXPECT_EQ(notifier.Messages()[0].text.rfind("Can't open a specified port\n", 0), 0u)
        << notifier.Messages()[0].text;
}

// Closing the window in the middle of a search neither hangs nor reaches freed widgets.
TEST_F(ConfigFindPrinterTest, ClosingTheWindowDuringASearchEndsIt) {
    PtyPair silent;
    ConnectionCombo("portCombo")->setEditText(QString::fromStdString(silent.SlavePath()));
    FindButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Progress()->value() >= 1; }, 5000));
    const auto started = std::chrono::steady_clock::now();
    window.reset();
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
}

}  // namespace
