#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <sstream>
#include <string>
#include <thread>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "LoaderFiles.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }
    std::string Port() const { return "--port " + sim.DevicePath(); }
    // tq20 may exit while its last bytes are still on their way to the printer.
    void WaitUntilQuiet() {
        std::size_t seen = sim.ReceivedBytes().size();
        for (int i = 0; i < 20; ++i) {
            std::this_thread::sleep_for(50ms);
            const std::size_t now = sim.ReceivedBytes().size();
            if (now == seen) {
                return;
            }
            seen = now;
        }
    }

    CPrinterSim sim;
};

TEST_F(CliTest, ReadsTheSettings) {
    const Outcome text = RunTool("settings read " + Port());
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_NE(text.output.find("contrast = 8 "), std::string::npos) << text.output;
    const Outcome json = RunTool("settings read --json " + Port());
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_NE(json.output.find("\"portFlowControl\": {\"byte\":16,"), std::string::npos)
        << json.output;
}

struct LoadCase {
    const char* name;
    std::vector<std::uint8_t> file;
    BootFault fault;
    int exitCode;
    const char* message;
};

TEST_F(CliTest, EachWayALoadEndsHasItsExitCodeAndMessage) {
    const auto program = ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(64, 1)}});
    const LoadCase cases[] = {
        {"program", program, {}, 0, "Программа успешно загружена в принтер."},
        {"font", FontFileBytes("", Pattern(700, 2)), {}, 0, "Шрифт успешно загружен в принтер."},
        {"bad magic",
         {'m', 'y', 'b', 'i', 'n', 0, 0, 0},
         {},
         11,
         "Неверные данные в файле.\nЗагрузка невозможна."},
        {"no records",
         ProgramFileBytes("TQ-20 A0", 1, {}),
         {},
         28,
         "Нет данных для загрузки.\nЗагрузка будет прервана."},
        {"other model",
         program,
         {BootFaultKind::Model, 'M'},
         22,
         "Данная модель контроллера не поддерживается (TQ-20 A0).\nФайл с данными не пригоден "
         "для загрузки.\nЗагрузка будет прервана."},
        {"data echo",
         program,
         {BootFaultKind::DataEcho, 'e'},
         30,
         "Ошибка в принятых данных.\nЗагрузка будет прервана."},
    };
    for (const LoadCase& c : cases) {
        sim.WithProtocol([&](CSimProtocol& p) { p.BootArea().SetFault(c.fault); });
        const TempFile file("load.bin", c.file);
        const Outcome outcome = RunTool("load " + Port() + " " + file.Path());
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.name << "\n" << outcome.output;
        EXPECT_NE(outcome.output.find(c.message), std::string::npos) << c.name << "\n"
                                                                     << outcome.output;
    }
}

TEST_F(CliTest, LoadFailsBeforeTheLineWhenFileOrPortAreMissing) {
    EXPECT_EQ(RunTool("load " + Port() + " /no/such/file.bin").exitCode, 10);
    const TempFile file("p.bin", ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(4, 1)}}));
    const Outcome noPort = RunTool("load --port /dev/no-such-port " + file.Path());
    EXPECT_EQ(noPort.exitCode, 12);
    EXPECT_NE(noPort.output.find("Не удалось открыть порт."), std::string::npos);
    EXPECT_NE(RunTool("load " + file.Path()).exitCode, 0) << "a line must be named";
}

// A printer set to one of the slowest or the non-standard speeds of its port page is loaded at
// that speed, through a line the simulator judges as the printer would.
TEST_F(CliTest, LoadRunsAtTheSpeedThePrinterIsSetTo) {
    sim.SetPacing(true);
    const TempFile file("p.bin", ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(16, 1)}}));
    for (const unsigned speed : {1200u, 28800u}) {
        sim.WithProtocol(
            [&](CSimProtocol& p) { p.SetLine({.baudRate = speed, .flowControl = 0}); });
        const Outcome outcome =
            RunTool("load " + Port() + " --baud " + std::to_string(speed) + " " + file.Path());
        EXPECT_EQ(outcome.exitCode, 0) << speed << "\n" << outcome.output;
        WaitUntilQuiet();
    }
}

// The percentages of the progress lines, in order.
std::vector<int> ProgressPercentages(const std::string& output) {
    std::vector<int> percentages;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
        const auto space = line.rfind(' ');
        if (!line.empty() && line.back() == '%' && space != std::string::npos) {
            percentages.push_back(std::stoi(line.substr(space + 1)));
        }
    }
    return percentages;
}

// Without a terminal the bar is a line for every tenth of the way: in order, every tenth for a
// large font, and 100 % at the end, for fonts of any size and any start address.
TEST_F(CliTest, LoadProgressReachesTheEndForAnySize) {
    const std::pair<std::size_t, std::uint32_t> cases[] = {
        {65536, 0x010000}, {66536, 0x0001F0}, {700, 0x010010}};
    for (const auto& [size, start] : cases) {
        // clang 14 cannot capture a structured binding.
        const std::uint32_t fontStart = start;
        sim.WithProtocol([&](CSimProtocol& p) { p.BootArea().Settings().fontStart = fontStart; });
        const TempFile file("font.fnt", FontFileBytes("", Pattern(size, 3)));
        const Outcome outcome = RunTool("load " + Port() + " " + file.Path());
        EXPECT_EQ(outcome.exitCode, 0) << size << "\n" << outcome.output;
        const std::vector<int> seen = ProgressPercentages(outcome.output);
        ASSERT_FALSE(seen.empty()) << outcome.output;
        EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end())) << outcome.output;
        EXPECT_EQ(seen.back(), 100) << size << "\n" << outcome.output;
        if (size >= 65536) {
            EXPECT_EQ(seen.size(), 11u) << size << "\n" << outcome.output;
        }
        WaitUntilQuiet();
    }
}

// The printer's model in its code page, Windows-1251, reaches the terminal decoded.
TEST_F(CliTest, LoadShowsTheModelDecoded) {
    sim.WithProtocol([](CSimProtocol& p) { p.BootArea().Settings().model = "\xD2\xCA-20"; });
    const TempFile font("font.fnt", FontFileBytes("", Pattern(300, 3)));
    const Outcome loaded = RunTool("load " + Port() + " " + font.Path());
    EXPECT_NE(loaded.output.find("Загрузка шрифта в ТК-20... 100%"), std::string::npos)
        << loaded.output;
    WaitUntilQuiet();
    const TempFile program("p.bin", ProgramFileBytes("\xD2\xCA-10", 1, {{0, Pattern(4, 1)}}));
    const Outcome refused = RunTool("load " + Port() + " " + program.Path());
    EXPECT_EQ(refused.exitCode, 22);
    EXPECT_NE(refused.output.find("не поддерживается (ТК-10)"), std::string::npos)
        << refused.output;
}

// Paths that are no data file end the load at once with the file's exit code, before the line.
TEST_F(CliTest, LoadRefusesWhatIsNoDataFilePromptly) {
    const ScratchFolder scratch;
    const std::pair<std::string, int> cases[] = {
        {scratch.Path(), 10},
        {scratch.Fifo("font.fnt"), 10},
        {"/dev/zero", 10},
        {scratch.SparseFile("big.fnt", FontFileBytes("F", {1}), 100 << 20), 11},
    };
    for (const auto& [path, exitCode] : cases) {
        const auto start = std::chrono::steady_clock::now();
        // A tool that hangs is stopped by timeout(1), whose exit code 124 fails the case.
        const Outcome outcome = RunTool("load " + Port() + " " + path, "timeout 10 ");
        EXPECT_EQ(outcome.exitCode, exitCode) << path << "\n" << outcome.output;
        EXPECT_LT(std::chrono::steady_clock::now() - start, 3s) << path;
    }
    EXPECT_TRUE(sim.ReceivedBytes().empty());
}

}  // namespace

namespace {

// Only the named fields are written, also when others hold values outside the window's lists,
// and the result is read back.
TEST_F(CliTest, SetChangesExactlyTheNamedFields) {
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[1] = 7;  // dotsCount outside 32, 64, 96, 128
        record[6] = 9;  // alignment outside 1 to 3
        record[17] = 4;
        p.SetCurrent(record);
    });
    auto expected = sim.Current();
    const Outcome set =
        RunTool("settings set " + Port() + " contrast=3 fontMode=0x51 barcodeHri=4");
    EXPECT_EQ(set.exitCode, 0) << set.output;
    expected[0] = 3;
    expected[3] = 0x51;
    expected[7] = 4;
    EXPECT_EQ(sim.Current(), expected);
    const Bytes readBack{0x12, 0x63, 0x4C, 0x63};
    EXPECT_EQ(sim.Commands().back().bytes, readBack);
}

TEST_F(CliTest, PortChangeReconnectsAndStores) {
    const Outcome set = RunTool("settings set " + Port() + " portBaudIndex=2 portFlowControl=0x20");
    EXPECT_EQ(set.exitCode, 0) << set.output;
    // The store command may still be on its way through the line when tq20 has exited.
    const Bytes store{0x12, 0x63, 0x53};
    EXPECT_TRUE(sim.WaitForCommands(4, 2s));
    CSimProtocol::Record saved{};
    sim.WithProtocol([&](CSimProtocol& p) { saved = p.Saved(); });
    const auto commands = sim.Commands();
    EXPECT_EQ(commands[commands.size() - 2].bytes, store) << "then the read-back";
    EXPECT_EQ(saved[16], 2);
    EXPECT_EQ(saved[18], 0x20);
    EXPECT_EQ(RunTool("settings read " + Port()).exitCode, 4) << "the old line is deaf now";
    EXPECT_EQ(RunTool("settings read " + Port() + " --baud 38400 --flow xonxoff").exitCode, 0);
}

TEST_F(CliTest, SavedFileRestoresTheSettings) {
    const TempFile backup("settings.json", {});
    ASSERT_EQ(RunTool("settings save " + Port() + " " + backup.Path()).exitCode, 0);
    const auto before = sim.Current();
    ASSERT_EQ(RunTool("settings set " + Port() + " contrast=40 tabulation=4").exitCode, 0);
    WaitUntilQuiet();
    ASSERT_NE(sim.Current(), before);
    const Outcome restored = RunTool("settings restore-file " + Port() + " " + backup.Path());
    EXPECT_EQ(restored.exitCode, 0) << restored.output;
    WaitUntilQuiet();
    EXPECT_EQ(sim.Current(), before);
    const TempFile broken("broken.json", {'{', 'x'});
    EXPECT_EQ(RunTool("settings restore-file " + Port() + " " + broken.Path()).exitCode, 6);
}

TEST_F(CliTest, InfoPrintsTheLinesAndTheState) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetStatus(0x03); });
    const Outcome info = RunTool("settings info " + Port());
    EXPECT_EQ(info.exitCode, 0);
    EXPECT_NE(info.output.find("Название принтера:  TQ-20 \n"), std::string::npos) << info.output;
    EXPECT_NE(info.output.find("Шрифт:  Cyrillic 12x24\n\nСостояние принтера:\n- Отсутствует "
                               "бумага\n- Открыта крышка"),
              std::string::npos)
        << info.output;
}

TEST_F(CliTest, RestoresFollowThePrinter) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    const Outcome factory =
        RunTool("settings restore factory " + Port() + " --baud 9600 --flow none");
    EXPECT_EQ(factory.exitCode, 0) << factory.output;
    EXPECT_NE(factory.output.find("portFlowControl = 16"), std::string::npos) << factory.output;
    const Outcome saved = RunTool("settings restore saved " + Port());
    EXPECT_EQ(saved.exitCode, 0) << saved.output;
}

}  // namespace
