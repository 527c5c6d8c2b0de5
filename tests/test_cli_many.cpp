// tq20 serving several printers at once, one of them faulty: each port's result, the table,
// the JSON objects and the exit code.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "LoaderFiles.h"

namespace {

using nlohmann::json;

bool Contains(const Outcome& outcome, const std::string& text) {
    return outcome.output.find(text) != std::string::npos;
}

// The port's row in the closing table (its last line that starts with the port's name), from
// its result on: the columns are as wide as the longest port name.
std::string TableRow(const Outcome& outcome, const std::string& port) {
    std::string row;
    std::istringstream lines(outcome.output);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(port + " ", 0) == 0) {
            row = line.substr(line.find_first_not_of(' ', port.size()));
        }
    }
    return row;
}

std::vector<json> JsonObjects(const Outcome& outcome) {
    std::vector<json> objects;
    std::istringstream lines(outcome.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.front() == '{') {
            objects.push_back(json::parse(line));
        }
    }
    return objects;
}

// Three printers: the middle one never answers.
class CliManyTest : public ::testing::Test {
protected:
    void SetUp() override {
        for (int i = 0; i < 3; ++i) {
            sims.push_back(std::make_unique<CPrinterSim>());
            ASSERT_TRUE(sims.back()->Start());
        }
        sims[1]->InjectFault({.kind = SimFaultKind::Silence});
    }
    std::string Path(std::size_t i) const { return sims[i]->DevicePath(); }
    std::string Ports() const {
        std::string ports;
        for (const auto& sim : sims) {
            ports += " --port " + sim->DevicePath();
        }
        return ports;
    }

    std::vector<std::unique_ptr<CPrinterSim>> sims;
};

TEST_F(CliManyTest, SetWritesEveryPrinterThatAnswersAndTellsWhichDidNot) {
    const std::uint8_t before = sims[1]->Current()[0];
    // Several values after several ports: each --port takes one device, never a value.
    const Outcome set = RunTool("settings set" + Ports() + " contrast=12 alignment=3");
    EXPECT_EQ(set.exitCode, 4) << set.output;
    EXPECT_EQ(sims[0]->Current()[0], 12);
    EXPECT_EQ(sims[1]->Current()[0], before);
    EXPECT_EQ(sims[2]->Current()[0], 12);
    EXPECT_EQ(sims[2]->Current()[6], 3);
    EXPECT_TRUE(Contains(set, "PORT")) << set.output;
    EXPECT_EQ(TableRow(set, Path(1)).rfind("Истекло время ожидания ответа от принтера (exit 4)", 0),
              0u)
        << set.output;
    for (std::size_t i : {0u, 2u}) {
        EXPECT_EQ(TableRow(set, Path(i)).rfind("done ", 0), 0u) << set.output;
    }
}

TEST_F(CliManyTest, LoadGoesToEveryPrinterAtOnceAndReportsEachAsJson) {
    const auto image = Pattern(4000, 5);
    const TempFile font("font.fnt", FontFileBytes("", image));
    const Outcome load = RunTool("load --json" + Ports() + " " + font.Path());
    EXPECT_EQ(load.exitCode, 20) << load.output;
    const auto objects = JsonObjects(load);
    ASSERT_EQ(objects.size(), 3u) << load.output;
    for (std::size_t i = 0; i < 3; ++i) {
        const json& port = objects[i];
        EXPECT_EQ(port.at("port"), Path(i));
        EXPECT_TRUE(port.at("seconds").is_number());
        EXPECT_TRUE(port.at("messages").is_array());
        if (i == 1) {
            EXPECT_EQ(port.at("exitCode"), 20);
            EXPECT_EQ(port.at("result"), "Истекло время ожидания ответа от принтера. (exit 20)");
            EXPECT_EQ(port.at("messages").back(), "Загрузка будет прервана.");
            continue;
        }
        EXPECT_EQ(port.at("exitCode"), 0) << port.dump();
        EXPECT_EQ(port.at("result"), "Шрифт успешно загружен в принтер.") << port.dump();
        sims[i]->WithProtocol([&](CSimProtocol& p) {
            const auto& memory = p.BootArea().Memory();
            const std::size_t start = p.BootArea().Settings().fontStart;
            EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin() + start)) << i;
        });
    }
}

// The exit code is that of the first printer named that failed, whatever the others did.
TEST_F(CliManyTest, TheFirstFailingPortNamedGivesTheExitCode) {
    sims[2]->InjectFault({.kind = SimFaultKind::WrongLength});
    const struct {
        std::vector<std::size_t> order;
        int exitCode;
    } cases[] = {{{0, 1, 2}, 4}, {{0, 2, 1}, 5}, {{2, 0}, 5}, {{0}, 0}};
    for (const auto& c : cases) {
        std::string ports;
        for (std::size_t i : c.order) {
            ports += " --port " + Path(i);
        }
        const Outcome set = RunTool("settings set --json" + ports + " contrast=9");
        EXPECT_EQ(set.exitCode, c.exitCode) << ports << "\n" << set.output;
        EXPECT_EQ(JsonObjects(set).size(), c.order.size()) << set.output;
    }
}

TEST_F(CliManyTest, RestoreFileTakesThePortsFromAFile) {
    const TempFile saved("saved.json", {});
    ASSERT_EQ(RunTool("settings save --port " + Path(0) + " " + saved.Path()).exitCode, 0);
    sims[0]->WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[0] = 3;
        p.SetCurrent(record);
    });
    const auto wanted = sims[2]->Current();
    const std::string list = "# the line's printers\n" + Path(0) + "\n\n  " + Path(2) + "  \n";
    const TempFile ports("ports", std::vector<std::uint8_t>(list.begin(), list.end()));
    const Outcome restored =
        RunTool("settings restore-file --ports-file " + ports.Path() + " " + saved.Path());
    EXPECT_EQ(restored.exitCode, 0) << restored.output;
    EXPECT_EQ(sims[0]->Current(), wanted);
    EXPECT_EQ(TableRow(restored, Path(2)).rfind("done ", 0), 0u) << restored.output;
    EXPECT_TRUE(sims[1]->Commands().empty()) << "a printer not listed is left alone";
}

TEST_F(CliManyTest, PortsThatCannotBeServedTogetherAreAUsageError) {
    const std::string ports = " --port " + Path(0) + " --port " + Path(2);
    EXPECT_EQ(RunTool("settings read" + ports).exitCode, 2) << "read shows one printer";
    EXPECT_EQ(
        RunTool("settings set --port " + Path(0) + " --port " + Path(0) + " contrast=1").exitCode,
        2);
    EXPECT_EQ(RunTool("settings set --ports-file /no/such/list contrast=1").exitCode, 2);
    for (const auto& sim : sims) {
        EXPECT_TRUE(sim->Commands().empty());
    }
}

}  // namespace
