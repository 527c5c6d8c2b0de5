#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
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
    EXPECT_NE(text.output.find("contrast = 8\n"), std::string::npos) << text.output;
    const Outcome json = RunTool("settings read --json " + Port());
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_NE(json.output.find("\"portFlowControl\": 16"), std::string::npos) << json.output;
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
