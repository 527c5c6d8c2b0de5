// tq20 provision against simulated printers: a profile checked whole before any printer is
// touched, every printer brought to it through the single commands, one synced record an
// attempt, and a printer already done skipped on the next run.
#include <gtest/gtest.h>

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
