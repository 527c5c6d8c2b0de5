// Every settings conversation of the window and of tq20 as the printer hears it: the commands
// in order and the least pause before each, held against the recordings in tests/data/wire/.
// Whatever is rebuilt beneath the two front-ends, what reaches the printer stays the same.
// TQ20_WIRE_RECORD=1 writes the recordings anew from what the programs send now.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iomanip>
#include <sstream>
#include <thread>

#include "CliRun.h"
#include "ConfigWindowFixture.h"
#include "WireLog.h"

namespace {

std::vector<WireLine> Parse(std::istream& in) {
    std::vector<WireLine> lines;
    for (std::string text; std::getline(in, text);) {
        if (text.empty() || text[0] == '#') {
            continue;
        }
        std::istringstream fields(text);
        double seconds = 0;
        fields >> seconds;
        WireLine line{Milliseconds(std::lround(seconds * 1000)), {}};
        for (unsigned byte = 0; fields >> std::hex >> byte;) {
            line.bytes.push_back(static_cast<std::uint8_t>(byte));
        }
        lines.push_back(line);
    }
    return lines;
}

// Compares what the printer heard with the recording of the same name, or records it.
void ExpectWire(const std::string& name, const std::string& what,
                const std::vector<SimCommandRecord>& commands) {
    const std::filesystem::path path = std::filesystem::path(TQ20_WIRE_DIR) / (name + ".txt");
    const std::vector<WireLine> heard = Heard(commands);
    if (std::getenv("TQ20_WIRE_RECORD") != nullptr) {
        std::ofstream(path) << "# " << what << "\n" << Format(heard);
        return;
    }
    std::ifstream in(path);
    ASSERT_TRUE(in) << "no recording " << path;
    const std::vector<WireLine> recorded = Parse(in);
    ASSERT_EQ(heard.size(), recorded.size()) << name << ", heard:\n" << Format(heard);
    for (std::size_t i = 0; i < heard.size(); ++i) {
        EXPECT_EQ(heard[i].bytes, recorded[i].bytes) << name << " command " << i;
        const auto gap =
            i == 0
                ? Milliseconds{0}
                : std::chrono::duration_cast<Milliseconds>(commands[i].when - commands[i - 1].when);
        EXPECT_GE(gap, recorded[i].pause - kStampSlack) << name << " before command " << i;
    }
}

class WireWindowTest : public ConfigWindowTest {
protected:
    void Expect(const std::string& name, const std::string& what) {
        WaitUntilQuiet(sim);
        EXPECT_TRUE(notifier.Messages().empty()) << name;
        ExpectWire(name, what, sim.Commands());
    }
};

TEST_F(WireWindowTest, FirstRead) {
    sim.ClearLog();
    ASSERT_TRUE(Connect());
    Expect("window-first-read", "Velkor: connect, which reads the settings");
}

TEST_F(WireWindowTest, SaveOfAChangedPage) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTING);
    window->Page(kPagePrinting)->findChild<QComboBox*>("dotsCombo")->setCurrentIndex(3);
    sim.ClearLog();
    SaveButton()->click();
    Expect("window-save", "Velkor: the printing page's dots changed, then saved");
}

TEST_F(WireWindowTest, PortChange) {
    ASSERT_TRUE(Connect());
    Select(IDS_RS232);
    window->Page(kPagePort)->findChild<QComboBox*>("baudCombo")->setCurrentIndex(2);
    window->Page(kPagePort)->findChild<QComboBox*>("flowCombo")->setCurrentIndex(2);
    sim.ClearLog();
    SaveButton()->click();
    Expect("window-port-change", "Velkor: the printer's line set to 38400 bit/s with Xon/Xoff");
}

TEST_F(WireWindowTest, FactoryRestore) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    ASSERT_TRUE(Connect(6, 0));
    Select(IDS_PRINTER_SETTINGS);
    sim.ClearLog();
    notifier.LineUp({Answer::Yes});
    window->Page(kPageOptions)->findChild<QPushButton*>("factoryButton")->click();
    Expect("window-factory-restore", "Velkor: factory restore from a line at 9600 bit/s");
}

TEST_F(WireWindowTest, SavedRestore) {
    ASSERT_TRUE(Connect());
    Select(IDS_PRINTER_SETTINGS);
    sim.ClearLog();
    window->Page(kPageOptions)->findChild<QPushButton*>("savedButton")->click();
    Expect("window-saved-restore", "Velkor: restore of the saved settings");
}

TEST_F(WireWindowTest, InformationChain) {
    ASSERT_TRUE(Connect());
    Select(IDS_SERVICE_INFO);
    sim.ClearLog();
    SaveButton()->click();
    Expect("window-info", "Velkor: the service information page's request");
}

struct CliCase {
    const char* name;
    const char* what;
    std::string arguments;  // after the port
    SimLine line;
};

// tq20's conversations, each against a printer of its own.
TEST(WireCli, EveryConversationIsHeardAsRecorded) {
    const SimLine factory{};
    const SimLine slow{.baudRate = 9600, .flowControl = 0};
    const CliCase cases[] = {
        {"cli-read", "tq20 settings read", "settings read", factory},
        {"cli-set", "tq20 settings set of two groups", "settings set contrast=3 fontMode=0x51",
         factory},
        {"cli-port-change", "tq20 settings set of the printer's line",
         "settings set portBaudIndex=2 portFlowControl=0x20", factory},
        {"cli-info", "tq20 settings info", "settings info", factory},
        {"cli-factory-restore", "tq20 settings restore factory from a line at 9600 bit/s",
         "settings restore factory --baud 9600 --flow none", slow},
        {"cli-saved-restore", "tq20 settings restore saved", "settings restore saved", factory},
        {"cli-detect",
         "tq20 detect of a printer at 9600 bit/s, 8N1, Xon/Xoff",
         "detect",
         {.baudRate = 9600, .flowControl = 2}},
    };
    for (const CliCase& c : cases) {
        CPrinterSim sim;
        sim.WithProtocol([&](CSimProtocol& p) { p.SetLine(c.line); });
        ASSERT_TRUE(sim.Start()) << c.name;
        const Outcome run = RunTool(c.arguments + " --port " + sim.DevicePath());
        EXPECT_EQ(run.exitCode, 0) << c.name << "\n" << run.output;
        WaitUntilQuiet(sim);
        ExpectWire(c.name, c.what, sim.Commands());
    }
}

}  // namespace
