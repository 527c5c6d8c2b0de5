// tq20 provision against simulated printers: a profile checked whole before any printer is
// touched, every printer brought to it through the single commands, one synced record an
// attempt, and a printer already done skipped on the next run.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <functional>
#include <thread>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "LoaderFiles.h"
#include "SimProgram.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

class ProvisionTest : public ::testing::Test {
protected:
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string Write(const std::string& name, const std::string& text) const {
        const std::string path = folder + "/" + name;
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string Write(const std::string& name, const Bytes& bytes) const {
        return Write(name, std::string(bytes.begin(), bytes.end()));
    }

    // A printer of its own, with a serial number and a contrast that tell it apart.
    CPrinterSim& AddPrinter(const std::string& serial, std::uint8_t contrast) {
        auto& sim = *sims.emplace_back(std::make_unique<CPrinterSim>());
        EXPECT_TRUE(sim.Start());
        sim.WithProtocol([&](CSimProtocol& p) {
            p.SetInfoItem(3, serial);
            auto record = p.Current();
            record[0] = contrast;
            p.SetCurrent(record);
        });
        return sim;
    }
    std::string Ports() const {
        std::string ports;
        for (const auto& sim : sims) {
            ports += " --port " + sim->DevicePath();
        }
        return ports;
    }
    std::vector<nlohmann::json> Records(const std::string& name = "records.jsonl") const {
        std::ifstream file(folder + "/" + name);
        std::vector<nlohmann::json> records;
        for (std::string line; std::getline(file, line);) {
            records.push_back(nlohmann::json::parse(line));
        }
        return records;
    }

    std::string folder = FreshFolder("tq20-provision");
    std::vector<std::unique_ptr<CPrinterSim>> sims;
};

TEST_F(ProvisionTest, AProfileThatCannotBeUsedSaysWhyBeforeAnyPrinterIsTouched) {
    Write("tq20.bin", ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(64, 1)}}));
    Write("other.bin", ProgramFileBytes("TQ-30 B1", 1, {{0, Pattern(64, 1)}}));
    Write("font.fnt", FontFileBytes("", Pattern(700, 2)));
    Write("house.json", R"({"contrast": 12})");
    Write("bad.json", R"({"contrast": 300})");
    struct Case {
        std::string profile;
        std::string said;
    } const cases[] = {
        {R"({"firmware": "tq20.bin", "firmwareVersion": "1.08"})", "\"model\" is missing"},
        {R"({"model": "TQ-20 A0", "firmware": "missing.bin", "firmwareVersion": "1"})",
         "missing.bin: cannot be read"},
        {R"({"model": "TQ-20 A0", "firmware": "other.bin", "firmwareVersion": "1"})",
         "built for the model \"TQ-30 B1\""},
        {R"({"model": "TQ-20 A0", "firmware": "font.fnt", "firmwareVersion": "1"})",
         "a font file, named as the firmware"},
        {R"({"model": "TQ-20 A0", "firmware": "tq20.bin"})",
         "\"firmware\" and \"firmwareVersion\" go together"},
        {R"({"model": "TQ-20 A0", "font": "tq20.bin", "fontName": "x"})",
         "a firmware file, named as the font"},
        {R"({"model": "TQ-20 A0", "settings": "bad.json"})", "bad.json: contrast"},
        {R"({"model": "TQ-20 A0", "settings": ["alignment=middle"]})", "alignment"},
        {R"({"model": "TQ-20 A0", "line": {"portBaud": "9601"}})", "line: "},
        {R"({"model": "TQ-20 A0", "line": {"contrast": "12"}})", "not a port setting"},
        {R"({"model": "TQ-20 A0", "testPrint": "yes"})", "\"testPrint\" must be true or false"},
        {R"({"model": "TQ-20 A0", "colour": "red"})", "unknown field \"colour\""},
        {R"(["model"])", "not a profile"},
    };
    for (const Case& c : cases) {
        const std::string profile = Write("profile.json", c.profile);
        for (const char* verb : {"provision check ", "provision run --port /dev/null "}) {
            const Outcome outcome = RunTool(verb + profile);
            EXPECT_EQ(outcome.exitCode, 40) << verb << c.profile << "\n" << outcome.output;
            EXPECT_NE(outcome.output.find(c.said), std::string::npos) << c.profile << "\n"
                                                                      << outcome.output;
        }
    }
    EXPECT_FALSE(std::filesystem::exists(folder + "/records.jsonl"));
}

TEST_F(ProvisionTest, CheckPrintsWhatARunWouldDo) {
    Write("tq20.bin", ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(64, 1)}}));
    Write("house.json", R"({"contrast": 12, "alignment": 3})");
    const std::string profile =
        Write("profile.json",
              R"({"model": "TQ-20 A0", "firmware": "tq20.bin", "firmwareVersion": "1.08",
            "settings": "house.json", "line": {"portBaud": "9600"}, "testPrint": true})");
    const Outcome outcome = RunTool("provision check " + profile);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.output;
    for (const char* line : {"line: 9600 bit/s, framing 8N1, flow control rtscts",
                             "tq20.bin, loaded unless the printer reports 1.08",
                             "house.json: alignment, contrast", "test print"}) {
        EXPECT_NE(outcome.output.find(line), std::string::npos) << line << "\n" << outcome.output;
    }
    // The digest covers every file the profile names.
    const auto digest = [&] {
        const std::string text = RunTool("provision check " + profile).output;
        return text.substr(text.find("digest "), 71);
    };
    const std::string before = digest();
    Write("house.json", R"({"contrast": 13, "alignment": 3})");
    EXPECT_NE(digest(), before);
}

TEST_F(ProvisionTest, EveryPrinterIsBroughtToTheProfileAndASecondRunSkipsThem) {
    const char* serials[] = {"SN-A-0001", "SN-A-0002", "SN-A-0003"};
    for (int i = 0; i < 3; ++i) {
        AddPrinter(serials[i], static_cast<std::uint8_t>(5 + i));
    }
    Write("house.json", R"({"contrast": 12})");
    const std::string profile =
        Write("profile.json", R"({"model": "TQ-20 A0", "settings": "house.json",
                                  "line": "find", "testPrint": true})");
    const std::string record = " --record " + folder + "/records.jsonl --csv";
    const Outcome first = RunTool("provision run " + profile + Ports() + record);
    ASSERT_EQ(first.exitCode, 0) << first.output;
    for (const auto& sim : sims) {
        EXPECT_EQ(sim->Current()[0], 12);
        sim->WithProtocol(
            [](CSimProtocol& p) { EXPECT_EQ(p.Saved()[0], 12) << "stored, not only set"; });
    }
    auto records = Records();
    ASSERT_EQ(records.size(), 3u);
    for (const auto& r : records) {
        EXPECT_EQ(r["result"], "done") << r.dump();
        EXPECT_EQ(r["firmwareBefore"], "1.07");
        EXPECT_EQ(r["steps"].size(), 7u) << r.dump();
        EXPECT_EQ(r["steps"][5]["step"], "verify");
    }
    std::vector<std::string> recorded;
    for (const auto& r : records) {
        recorded.push_back(r["serial"]);
    }
    std::sort(recorded.begin(), recorded.end());
    EXPECT_EQ(recorded, std::vector<std::string>(std::begin(serials), std::end(serials)));

    const Outcome second = RunTool("provision run " + profile + Ports() + record);
    EXPECT_EQ(second.exitCode, 0) << second.output;
    records = Records();
    EXPECT_EQ(std::count_if(records.begin() + 3, records.end(),
                            [](const nlohmann::json& r) { return r["result"] == "already done"; }),
              3)
        << second.output;
    const Outcome forced = RunTool("provision run --force " + profile + Ports() + record);
    EXPECT_EQ(forced.exitCode, 0) << forced.output;
    records = Records();
    ASSERT_EQ(records.size(), 9u);
    EXPECT_EQ(records.back()["result"], "done");
    std::ifstream csv(folder + "/records.csv");
    std::stringstream text;
    text << csv.rdbuf();
    const std::string lines = text.str();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 10) << "header and 9 lines";
}

TEST_F(ProvisionTest, AFailedStepIsRecordedInTheSingleCommandsWords) {
    CPrinterSim& sim = AddPrinter("SN-B-0001", 8);
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[16] = 6;  // the printer listens at 9600 bit/s
        p.SetCurrent(record);
    });
    const std::string profile = Write("profile.json", R"({"model": "TQ-20 A0"})");
    const Outcome outcome =
        RunTool("provision run " + profile + Ports() + " --record " + folder + "/records.jsonl");
    EXPECT_EQ(outcome.exitCode, 4) << outcome.output;
    EXPECT_NE(outcome.output.find("Provisioning ended at the step \"info\"."), std::string::npos)
        << outcome.output;
    const auto records = Records();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0]["result"], "failed");
    EXPECT_EQ(records[0]["steps"][1]["step"], "info");
    EXPECT_EQ(records[0]["steps"][1]["result"], "failed");
    EXPECT_EQ(records[0]["error"], "Истекло время ожидания ответа от принтера");
}

// A printer is done only once its record is on the disk.
TEST_F(ProvisionTest, ARecordThatCannotBeWrittenLeavesThePrinterNotDone) {
    AddPrinter("SN-C-0001", 8);
    const std::string profile = Write("profile.json", R"({"model": "TQ-20 A0"})");
    std::filesystem::create_directory(folder + "/records.jsonl");
    const Outcome folderRecord =
        RunTool("provision run " + profile + Ports() + " --record " + folder + "/records.jsonl");
    EXPECT_EQ(folderRecord.exitCode, 41) << folderRecord.output;
    EXPECT_NE(folderRecord.output.find("The record could not be written"), std::string::npos);
    EXPECT_EQ(folderRecord.output.find("done:"), std::string::npos) << folderRecord.output;

    // A full file system, on a 64 KiB tmpfs of a private mount namespace.
    const std::string full = folder + "/full";
    std::filesystem::create_directory(full);
    const Outcome run = RunCommand("unshare -m sh -c 'mount -t tmpfs -o size=64k tmpfs " + full +
                                   " && (dd if=/dev/zero of=" + full +
                                   "/filler bs=4096 count=64 2>/dev/null; true) && " + TQ20_CLI +
                                   " provision run " + profile + Ports() + " --record " + full +
                                   "/records.jsonl' 2>&1");
    if (run.output.find("unshare failed") != std::string::npos ||
        run.output.find("mount: ") != std::string::npos) {
        GTEST_SKIP() << "no private mount namespace here: " << run.output;
    }
    EXPECT_EQ(run.exitCode, 41) << run.output;
    EXPECT_NE(run.output.find("No space left on device"), std::string::npos) << run.output;
    EXPECT_EQ(run.output.find("done:"), std::string::npos) << run.output;
}

// Printers that come and go on one port, as on a station's bench: each is provisioned once, and
// Ctrl+C ends the station with a summary.
TEST_F(ProvisionTest, AStationProvisionsEachPrinterPluggedInOnce) {
    Write("house.json", R"({"contrast": 12})");
    const std::string profile =
        Write("profile.json", R"({"model": "TQ-20 A0", "settings": "house.json"})");
    const std::string link = folder + "/printer";
    const std::string records = folder + "/records.jsonl";
    const std::string log = folder + "/station.out";
    const pid_t station = ::fork();
    if (station == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        ::dup2(out, 1);
        ::dup2(out, 2);
        ::execl(TQ20_CLI, TQ20_CLI, "provision", "run", profile.c_str(), "--station", "--port",
                link.c_str(), "--record", records.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ASSERT_GT(station, 0);
    // The station ends with the test, also when an assertion ends it early.
    const std::unique_ptr<void, std::function<void(void*)>> ending(
        reinterpret_cast<void*>(1), [station](void*) { ::kill(station, SIGKILL); });
    const char* const plugged[] = {"SN-D-0001", "SN-D-0002", "SN-D-0001"};
    std::size_t attempts = 0;
    for (const char* serial : plugged) {
        {
            const SimProgram printer(TQ20_SIM, link, {"--serial", serial});
            ASSERT_TRUE(printer.WaitForLink());
            ++attempts;
            for (int i = 0; i < 300 && Records().size() < attempts; ++i) {
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
            }
            ASSERT_EQ(Records().size(), attempts) << serial;
        }
        // Unplugged: the device goes, and the station notices before the next comes.
        std::this_thread::sleep_for(std::chrono::milliseconds(1500));
        EXPECT_EQ(Records().size(), attempts) << "provisioned once while plugged in";
    }
    ::kill(station, SIGINT);
    int status = 0;
    ASSERT_EQ(::waitpid(station, &status, 0), station);
    std::ifstream file(log);
    std::stringstream text;
    text << file.rdbuf();
    ASSERT_TRUE(WIFEXITED(status)) << text.str();
    EXPECT_EQ(WEXITSTATUS(status), 0) << text.str();
    const auto lines = Records();
    ASSERT_EQ(lines.size(), 4u) << "three attempts and the summary";
    EXPECT_EQ(lines[0]["serial"], "SN-D-0001");
    EXPECT_EQ(lines[0]["result"], "done");
    EXPECT_EQ(lines[1]["serial"], "SN-D-0002");
    EXPECT_EQ(lines[1]["result"], "done");
    EXPECT_EQ(lines[2]["result"], "already done");
    EXPECT_EQ(lines[3]["done"], 2);
    EXPECT_EQ(lines[3]["alreadyDone"], 1);
    EXPECT_EQ(lines[3]["failed"], 0);
    const std::string out = text.str();
    std::size_t nexts = 0;
    for (auto at = out.find("done, next\a"); at != std::string::npos;
         at = out.find("done, next\a", at + 1)) {
        ++nexts;
    }
    EXPECT_EQ(nexts, 3u) << out;
    EXPECT_NE(out.find("ALREADY DONE"), std::string::npos) << out;
}

std::vector<ProgramRecord> Blocks(std::size_t count) {
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < count; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i + 1))});
    }
    return records;
}

// Printers with different firmware and fonts: each gets only the loads it needs, and the record
// tells what it came with and left with.
TEST_F(ProvisionTest, FirmwareAndFontAreLoadedOnlyWhereThePrinterReportsOthers) {
    Write("tq20-1.08.bin", ProgramFileBytes("TQ-20 A0", 1, Blocks(4)));
    Write("house.fnt", FontFileBytes("", Pattern(700, 2)));
    const std::string profile =
        Write("profile.json", R"({"model": "TQ-20 A0", "firmware": "tq20-1.08.bin",
                            "firmwareVersion": "1.08", "font": "house.fnt", "fontName": "House 12x24"})");
    struct PrinterCase {
        const char* serial;
        const char* firmware;
        const char* font;
        const char* steps;  // firmware and font
    } const cases[] = {
        {"SN-E-0001", "1.07", "Cyrillic 12x24", "done done"},
        {"SN-E-0002", "1.08", "Cyrillic 12x24", "skipped done"},
        {"SN-E-0003", "1.08", "House 12x24", "skipped skipped"},
    };
    std::vector<std::unique_ptr<SimProgram>> printers;
    std::string ports;
    for (const PrinterCase& c : cases) {
        printers.push_back(std::make_unique<SimProgram>(
            TQ20_SIM, folder + "/" + c.serial,
            std::vector<std::string>{"--serial", c.serial, "--firmware-version", c.firmware,
                                     "--font-name", c.font, "--loaded-version", "1.08",
                                     "--loaded-font", "House 12x24"}));
        ASSERT_TRUE(printers.back()->WaitForLink());
        ports += " " + printers.back()->Port();
    }
    const std::string record = " --record " + folder + "/records.jsonl";
    const Outcome run = RunTool("provision run " + profile + ports + record);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const auto records = Records();
    ASSERT_EQ(records.size(), 3u);
    for (const PrinterCase& c : cases) {
        const auto r = *std::find_if(records.begin(), records.end(), [&](const nlohmann::json& j) {
            return j["serial"] == c.serial;
        });
        EXPECT_EQ(r["firmwareBefore"], c.firmware);
        EXPECT_EQ(r["firmwareAfter"], "1.08");
        EXPECT_EQ(r["fontBefore"], c.font);
        EXPECT_EQ(r["fontAfter"], "House 12x24");
        EXPECT_EQ(r["steps"][2]["result"].get<std::string>() + " " +
                      r["steps"][3]["result"].get<std::string>(),
                  c.steps)
            << c.serial;
    }
    const Outcome again = RunTool("provision run " + profile + ports + record);
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(Records().back()["result"], "already done");
}

// Pulled out in the middle of its firmware: the run records the failed step, and the next run
// finds the printer answering only in its boot area and loads it again.
TEST_F(ProvisionTest, APrinterUnpluggedInItsFirmwareLoadIsFinishedByTheNextRun) {
    Write("tq20-1.08.bin", ProgramFileBytes("TQ-20 A0", 1, Blocks(6)));
    const std::string profile =
        Write("profile.json",
              R"({"model": "TQ-20 A0", "firmware": "tq20-1.08.bin", "firmwareVersion": "1.08"})");
    const SimProgram printer(
        TQ20_SIM, folder + "/printer",
        {"--serial", "SN-F-0001", "--loaded-version", "1.08", "--unplug-at-block", "2"});
    ASSERT_TRUE(printer.WaitForLink());
    const std::string run = "provision run " + profile + " " + printer.Port() + " --record " +
                            folder + "/records.jsonl";
    const Outcome cut = RunTool(run);
    EXPECT_EQ(cut.exitCode, 31) << cut.output;
    ASSERT_TRUE(printer.WaitForLink());
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));  // plugged in again
    const Outcome finished = RunTool(run);
    EXPECT_EQ(finished.exitCode, 0) << finished.output;
    const auto records = Records();
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0]["result"], "failed");
    EXPECT_EQ(records[0]["steps"][2]["step"], "firmware");
    EXPECT_EQ(records[0]["steps"][2]["result"], "failed");
    EXPECT_EQ(records[1]["result"], "done");
    EXPECT_EQ(records[1]["steps"][1]["result"], "failed") << "only the boot area answers";
    EXPECT_EQ(records[1]["steps"][2]["result"], "done");
    EXPECT_EQ(records[1]["serial"], "SN-F-0001");
    EXPECT_EQ(records[1]["firmwareAfter"], "1.08");
}

// A firmware for another controller passes the profile's own check when the profile names that
// model, and is refused by the load's model check at the printer.
TEST_F(ProvisionTest, AFirmwareForAnotherControllerIsRefusedByTheLoad) {
    Write("other.bin", ProgramFileBytes("TQ-30 B1", 1, Blocks(2)));
    const std::string profile =
        Write("profile.json",
              R"({"model": "TQ-30 B1", "firmware": "other.bin", "firmwareVersion": "3.00"})");
    const std::string log = folder + "/sim.log";
    const SimProgram printer(TQ20_SIM, folder + "/printer", {"--log", log});
    ASSERT_TRUE(printer.WaitForLink());
    const Outcome run = RunTool("provision run " + profile + " " + printer.Port() + " --record " +
                                folder + "/records.jsonl");
    EXPECT_EQ(run.exitCode, 22) << run.output;
    EXPECT_EQ(Records().at(0)["steps"][2]["result"], "failed");
    std::ifstream file(log);
    std::stringstream text;
    text << file.rdbuf();
    // After the boot request only the controller's answer is asked for: no block goes out.
    const std::string heard = text.str();
    const auto boot = heard.find("host     1B 42 4F 4F 54");
    ASSERT_NE(boot, std::string::npos) << heard;
    std::size_t requests = 0;
    for (auto at = heard.find("host", boot + 4); at != std::string::npos;
         at = heard.find("host", at + 4)) {
        ++requests;
    }
    EXPECT_EQ(requests, 1u) << heard;
}

TEST_F(ProvisionTest, TheReportAddsUpARecordFile) {
    const auto attempt = [](const char* serial, const char* result, const char* firmware,
                            double seconds, const char* failedStep) {
        nlohmann::json steps = nlohmann::json::array({{{"step", "info"}, {"result", "done"}}});
        if (*failedStep != 0) {
            steps.push_back({{"step", failedStep}, {"result", "failed"}});
        }
        return nlohmann::json{{"port", "/dev/ttyUSB0"},    {"serial", serial},   {"result", result},
                              {"firmwareAfter", firmware}, {"seconds", seconds}, {"steps", steps}}
                   .dump() +
               "\n";
    };
    const std::string records = Write(
        "records.jsonl",
        attempt("A", "done", "1.08", 10, "") + attempt("B", "done", "1.08", 30, "") +
            attempt("C", "done", "1.07", 20, "") + attempt("D", "failed", "1.07", 5, "firmware") +
            attempt("E", "failed", "", 2, "info") + attempt("A", "already done", "1.08", 1, "") +
            R"({"stationSummary": true, "port": "/dev/ttyUSB0"})"
            "\n"
            "not a record\n");
    const std::string csv = folder + "/totals.csv";
    const Outcome report = RunTool("provision report " + records + " --csv " + csv);
    ASSERT_EQ(report.exitCode, 0) << report.output;
    for (const char* line :
         {"Attempts: 6 (already done 1, done 3, failed 2)",
          "Done, by firmware version: 1.07 1, 1.08 2", "mean 20.0 s, slowest 30.0 s (B)",
          "Failures by step: firmware 1, info 1"}) {
        EXPECT_NE(report.output.find(line), std::string::npos) << line << "\n" << report.output;
    }
    std::ifstream file(csv);
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find("result,done,3\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("failedStep,firmware,1\n"), std::string::npos) << text.str();
    EXPECT_NE(text.str().find("time,slowest,30.00\n"), std::string::npos) << text.str();
    EXPECT_EQ(RunTool("provision report " + folder + "/none.jsonl").exitCode, 40);
}

}  // namespace
