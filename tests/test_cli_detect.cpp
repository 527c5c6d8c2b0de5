// tq20 detect against simulators started at every kind of line, all searched at once.
#include <gtest/gtest.h>

#include <future>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "PtyPair.h"

namespace {

using nlohmann::json;

bool Contains(const Outcome& outcome, const std::string& text) {
    return outcome.output.find(text) != std::string::npos;
}

// The JSON objects among the lines printed, by their port.
std::map<std::string, json> ObjectsByPort(const Outcome& outcome) {
    std::map<std::string, json> objects;
    std::istringstream lines(outcome.output);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.front() == '{') {
            const json object = json::parse(line);
            objects[object.at("port").get<std::string>()] = object;
        }
    }
    return objects;
}

struct DetectCase {
    const char* name;
    SimLine line;
    const char* options;  // what detect must tell to use, after --port
};

const DetectCase kCases[] = {
    {"factory", {115200, 0, false, 1}, "--baud 115200 --flow rtscts"},
    {"9600 without flow control", {9600, 0, false, 0}, "--baud 9600 --flow none"},
    {"1200 Xon/Xoff", {1200, 0, false, 2}, "--baud 1200 --flow xonxoff"},
    {"57600 both", {57600, 0, false, 3}, "--baud 57600 --flow both"},
    {"28800 two stop bits", {28800, 0, true, 1}, "--baud 28800 --flow rtscts --stop-bits 2"},
    {"14400 odd parity", {14400, 1, false, 0}, "--baud 14400 --flow none --parity odd"},
    {"4800 even, two stop bits, Xon/Xoff",
     {4800, 2, true, 2},
     "--baud 4800 --flow xonxoff --parity even --stop-bits 2"},
};

TEST(CliDetectTest, FindsEverySettingOfSeveralPrintersAtOnce) {
    std::vector<std::unique_ptr<CPrinterSim>> sims;
    std::string ports;
    for (const DetectCase& c : kCases) {
        sims.push_back(std::make_unique<CPrinterSim>());
        sims.back()->WithProtocol([&](CSimProtocol& protocol) { protocol.SetLine(c.line); });
        ASSERT_TRUE(sims.back()->Start());
        ports += " --port " + sims.back()->DevicePath();
    }
    const Outcome outcome = RunTool("detect --json" + ports);
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    const auto objects = ObjectsByPort(outcome);
    for (std::size_t i = 0; i < sims.size(); ++i) {
        const DetectCase& c = kCases[i];
        const std::string port = sims[i]->DevicePath();
        ASSERT_TRUE(objects.contains(port)) << c.name << "\n" << outcome.output;
        const json& found = objects.at(port);
        EXPECT_TRUE(found.at("found").get<bool>()) << c.name;
        EXPECT_EQ(found.at("exitCode"), 0) << c.name;
        EXPECT_EQ(found.at("options"), "--port " + port + " " + c.options) << c.name;
        EXPECT_EQ(found.at("baud"), c.line.baudRate) << c.name;
        EXPECT_EQ(found.at("tries").back().at("answer"), "record") << c.name;
    }
}

struct UseCase {
    SimLine line;
    const char* options;  // after --port
    const char* found;    // after the port
};

// The command printed is run as printed, twice: the search leaves the line as that command asks
// for it, and a pseudo-terminal keeps no parity bit, which a reopen once took for a refusal.
TEST(CliDetectTest, TellsTheOptionsToUseAndTheyWorkAgainAndAgain) {
    const UseCase cases[] = {
        {{38400, 0, false, 0}, "--baud 38400 --flow none", ": 38400 bit/s, 8N1, flow control none"},
        {{1200, 1, true, 2},
         "--baud 1200 --flow xonxoff --parity odd --stop-bits 2",
         ": 1200 bit/s, 8O2, flow control xonxoff"},
    };
    for (const UseCase& c : cases) {
        CPrinterSim sim;
        sim.WithProtocol([&](CSimProtocol& protocol) { protocol.SetLine(c.line); });
        ASSERT_TRUE(sim.Start());
        const Outcome found = RunTool("detect --port " + sim.DevicePath());
        EXPECT_EQ(found.exitCode, 0) << found.output;
        // Without its line end: the shell would take what follows it for a command of its own,
        // whose exit code it then reports.
        const std::string arguments = "settings read --port " + sim.DevicePath() + " " + c.options;
        ASSERT_TRUE(Contains(found, "Use: tq20 " + arguments + "\n")) << found.output;
        EXPECT_TRUE(Contains(found, "Printer found on " + sim.DevicePath() + c.found))
            << found.output;
        for (int run = 1; run <= 2; ++run) {
            const Outcome read = RunTool(arguments);
            EXPECT_EQ(read.exitCode, 0) << c.options << ", run " << run << "\n" << read.output;
        }
    }
}

// Nobody on the line: every setting is tried, and the user learns which. The text and the
// JSON are asked for at once, on two lines: each search waits out every try.
TEST(CliDetectTest, ASilentLineSaysWhatWasTried) {
    PtyPair line;
    PtyPair other;
    auto jsonRun = std::async(std::launch::async,
                              [&] { return RunTool("detect --json --port " + other.SlavePath()); });
    const Outcome text = RunTool("detect --port " + line.SlavePath());
    EXPECT_EQ(text.exitCode, 9) << text.output;
    EXPECT_TRUE(Contains(
        text, "No printer answered on " + line.SlavePath() + " (180 line settings tried in "))
        << text.output;
    EXPECT_TRUE(Contains(text,
                         "Tried at 115200, 9600, 57600, 38400, 19200, 4800, 2400, 1200, "
                         "28800 and 14400 bit/s, each with flow control rtscts, none and "
                         "xonxoff"))
        << text.output;
    EXPECT_FALSE(Contains(text, "Noise came back")) << text.output;

    const Outcome asJson = jsonRun.get();
    EXPECT_EQ(asJson.exitCode, 9);
    const json object = ObjectsByPort(asJson).at(other.SlavePath());
    EXPECT_FALSE(object.at("found").get<bool>());
    EXPECT_EQ(object.at("tries").size(), 180u);
    EXPECT_EQ(
        object.at("tries").front(),
        (json{{"baud", 115200}, {"framing", "8N1"}, {"flow", "rtscts"}, {"answer", "silence"}}));
}

TEST(CliDetectTest, EachWayASearchFailsHasItsExitCode) {
    CPrinterSim hangsUp;
    hangsUp.InjectFault({.kind = SimFaultKind::HangUp});
    ASSERT_TRUE(hangsUp.Start());
    const Outcome lost = RunTool("detect --port " + hangsUp.DevicePath());
    EXPECT_EQ(lost.exitCode, 7) << lost.output;

    const Outcome missing = RunTool("detect --port /dev/no-such-printer");
    EXPECT_EQ(missing.exitCode, 3) << missing.output;
    EXPECT_TRUE(Contains(missing, "Can't open a specified port\n")) << missing.output;

    EXPECT_EQ(RunTool("detect").exitCode, 2);
    EXPECT_EQ(RunTool("detect --tcp 127.0.0.1:9100").exitCode, 2);
    const Outcome help = RunTool("detect --help");
    EXPECT_TRUE(Contains(help, "9 no printer answered")) << help.output;
}

}  // namespace
