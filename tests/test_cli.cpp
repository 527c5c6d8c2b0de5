#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "CPrinterSim.h"
#include "LoaderFiles.h"

namespace {

struct Outcome {
    int exitCode;
    std::string output;
};

Outcome RunTool(const std::string& arguments) {
    const std::string command = std::string(TQ20_CLI) + " " + arguments + " 2>&1";
    std::FILE* pipe = ::popen(command.c_str(), "r");
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

class CliTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }
    std::string Port() const { return "--port " + sim.DevicePath(); }

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
