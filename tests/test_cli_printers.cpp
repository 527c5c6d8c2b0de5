// tq20 against simulators that stand in for different printers, as a production station meets
// them: each tells its own service information, complete loads change it, and an interrupted
// load leaves the printer as a real one would be left.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "CPrinterSim.h"
#include "CliRun.h"
#include "LoaderFiles.h"
#include "SimProgram.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

bool Contains(const Outcome& outcome, const std::string& text) {
    return outcome.output.find(text) != std::string::npos;
}

std::string LinkTarget(const std::string& link) {
    std::error_code error;
    return fs::read_symlink(link, error).string();
}

const std::string kSerialLabel = "Серийный номер принтера:  ";
const std::string kFirmwareLabel = "Версия внутреннего ПО:  ";
const std::string kFontLabel = "Шрифт:  ";

std::vector<ProgramRecord> Records(std::size_t count) {
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < count; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i + 1))});
    }
    return records;
}

struct PrinterCase {
    const char* serial;
    const char* firmware;
    const char* font;
    const char* loadedVersion;
};

// Several printers from the command line, each read back as it introduces itself; a program
// loaded into one of them changes its version only.
TEST(CliPrinters, EachPrinterTellsItsOwnServiceInformation) {
    const PrinterCase cases[] = {
        {"SN-20-000001", "1.07", "Cyrillic 12x24", "1.08"},
        {"SN-20-777777", "0.99 beta", "Latin 9x17", "1.08"},
        {"A", "2.00", "Кириллица 8x16", "2.01"},
    };
    const ScratchFolder scratch;
    std::vector<std::unique_ptr<SimProgram>> printers;
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const PrinterCase& c = cases[i];
        printers.push_back(std::make_unique<SimProgram>(
            TQ20_SIM, scratch.Path() + "/printer" + std::to_string(i),
            std::vector<std::string>{"--serial", c.serial, "--firmware-version", c.firmware,
                                     "--font-name", c.font, "--loaded-version", c.loadedVersion}));
    }
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        ASSERT_TRUE(printers[i]->WaitForLink()) << i;
        const Outcome info = RunTool("settings info " + printers[i]->Port());
        EXPECT_EQ(info.exitCode, 0) << i << "\n" << info.output;
        EXPECT_TRUE(Contains(info, kSerialLabel + cases[i].serial + "\n")) << info.output;
        EXPECT_TRUE(Contains(info, kFirmwareLabel + cases[i].firmware + "\n")) << info.output;
        EXPECT_TRUE(Contains(info, kFontLabel + cases[i].font + "\n")) << info.output;
    }
    const TempFile program("fw.bin", ProgramFileBytes("TQ-20 A0", 1, Records(2)));
    ASSERT_EQ(RunTool("load " + printers[1]->Port() + " " + program.Path()).exitCode, 0);
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        const Outcome info = RunTool("settings info " + printers[i]->Port());
        const std::string version = i == 1 ? cases[i].loadedVersion : cases[i].firmware;
        EXPECT_TRUE(Contains(info, kFirmwareLabel + version + "\n")) << i << "\n" << info.output;
    }
}

class CliPrinter : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        sim.WithProtocol([](CSimProtocol& p) {
            p.SetInfoItem(CSimProtocol::kInfoFirmware, "1.07");
            p.SetInfoItem(CSimProtocol::kInfoFont, "Cyrillic 12x24");
        });
    }
    std::string Port() const { return "--port " + sim.DevicePath(); }
    Outcome Info() const { return RunTool("settings info " + Port()); }

    CPrinterSim sim;
};

struct LoadedCase {
    const char* name;
    bool program;
    bool withLoadedNames;
    const char* firmware;
    const char* font;
};

// Only a load that runs to its end changes what the printer reports, and only where the
// printer was told what the load brings.
TEST_F(CliPrinter, ACompleteLoadReportsWhatItBrought) {
    const TempFile program("fw.bin", ProgramFileBytes("TQ-20 A0", 1, Records(3)));
    const TempFile font("font.fnt", FontFileBytes("", Pattern(700, 4)));
    const LoadedCase cases[] = {
        {"program, names left unset", true, false, "1.07", "Cyrillic 12x24"},
        {"font, names left unset", false, false, "1.07", "Cyrillic 12x24"},
        {"program", true, true, "1.08", "Cyrillic 12x24"},
        {"font", false, true, "1.07", "Latin 9x17"},
    };
    for (const LoadedCase& c : cases) {
        sim.WithProtocol([&](CSimProtocol& p) {
            p.SetInfoItem(CSimProtocol::kInfoFirmware, "1.07");
            p.SetInfoItem(CSimProtocol::kInfoFont, "Cyrillic 12x24");
            if (c.withLoadedNames) {
                p.SetLoadedVersion("1.08");
                p.SetLoadedFont("Latin 9x17");
            }
        });
        const Outcome load =
            RunTool("load " + Port() + " " + (c.program ? program.Path() : font.Path()));
        ASSERT_EQ(load.exitCode, 0) << c.name << "\n" << load.output;
        const Outcome info = Info();
        EXPECT_TRUE(Contains(info, kFirmwareLabel + c.firmware + "\n")) << c.name << info.output;
        EXPECT_TRUE(Contains(info, kFontLabel + c.font + "\n")) << c.name << info.output;
    }
}

struct GivenUpCase {
    const char* name;
    bool program;
    BootFault fault;
    int loadExit;
    int readExit;  // 4: the printer answers nothing but its boot area
};

// A load the host gives up: a program that was partly written leaves the printer without a
// working program, deaf to all but its boot area; a font, or a program given up before its first
// block, leaves it working with what it had.
TEST_F(CliPrinter, AGivenUpLoadLeavesThePrinterAsItsWrittenBlocksDo) {
    const TempFile program("fw.bin", ProgramFileBytes("TQ-20 A0", 1, Records(3)));
    const TempFile font("font.fnt", FontFileBytes("", Pattern(700, 4)));
    const GivenUpCase cases[] = {
        {"font, bad echo of its first block", false, {BootFaultKind::DataEcho, 'e'}, 30, 0},
        {"program, other model", true, {BootFaultKind::Model, 'M'}, 22, 0},
        {"program, bad echo of its first block", true, {BootFaultKind::DataEcho, 'e'}, 30, 4},
    };
    for (const GivenUpCase& c : cases) {
        sim.WithProtocol([&](CSimProtocol& p) {
            p.SetLoadedVersion("1.08");
            p.SetLoadedFont("Latin 9x17");
            p.BootArea().SetFault(c.fault);
        });
        const Outcome load =
            RunTool("load " + Port() + " " + (c.program ? program.Path() : font.Path()));
        ASSERT_EQ(load.exitCode, c.loadExit) << c.name << "\n" << load.output;
        sim.WithProtocol([](CSimProtocol& p) { p.BootArea().SetFault({}); });
        const Outcome read = RunTool("settings read " + Port());
        EXPECT_EQ(read.exitCode, c.readExit) << c.name << "\n" << read.output;
        if (c.readExit == 0) {
            const Outcome info = Info();
            EXPECT_TRUE(Contains(info, kFirmwareLabel + std::string("1.07\n"))) << info.output;
            EXPECT_TRUE(Contains(info, kFontLabel + std::string("Cyrillic 12x24\n")))
                << info.output;
        }
    }
}

// Pulled out in the middle of a program load: the host loses its line, the link goes with the
// device and comes back to a new one; the printer, still in its boot area, answers only the
// load, which then runs to its end and brings the new version. It is pulled out only once.
TEST(CliPrinterUnplug, AnUnplugMidLoadLeavesOnlyTheBootAreaUntilTheLoadIsRunAgain) {
    // Out for longer than tq20 takes to notice a hang-up, however busy the machine.
    CPrinterSim sim({.unplugAtBlock = 2, .replugAfter = 3s});
    ASSERT_TRUE(sim.Start());
    sim.WithProtocol([](CSimProtocol& p) { p.SetLoadedVersion("1.08"); });
    const ScratchFolder scratch;
    const std::string link = scratch.Path() + "/printer";
    ASSERT_EQ(sim.LinkTo(link), CSimDeviceLink::Result::Made);
    const std::string port = "--port " + link;
    const TempFile program("fw.bin", ProgramFileBytes("TQ-20 A0", 1, Records(4)));

    const Outcome cut = RunTool("load " + port + " " + program.Path());
    EXPECT_EQ(cut.exitCode, 31) << cut.output;
    EXPECT_FALSE(fs::is_symlink(link)) << "the link outlived its device";
    EXPECT_FALSE(sim.WaitPluggedIn(0ms));
    ASSERT_TRUE(sim.WaitPluggedIn(10s));
    EXPECT_EQ(LinkTarget(link), sim.DevicePath());

    EXPECT_EQ(RunTool("settings read " + port).exitCode, 4);
    EXPECT_EQ(RunTool("settings info " + port).exitCode, 4);
    const Outcome again = RunTool("load " + port + " " + program.Path());
    EXPECT_EQ(again.exitCode, 0) << again.output;
    const Outcome info = RunTool("settings info " + port);
    EXPECT_EQ(info.exitCode, 0) << info.output;
    EXPECT_TRUE(Contains(info, kFirmwareLabel + "1.08\n")) << info.output;
    sim.Stop();
    EXPECT_FALSE(fs::is_symlink(link)) << "removed when the simulator stops";
}

}  // namespace
