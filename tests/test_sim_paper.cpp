// The simulator prints: bytes written to its port come out as one PNG per receipt after a
// quiet second, drawn with the record it holds, so a settings change made with tq20 moves
// what the next receipt shows. Settings conversations make no file, and the printer still
// answers them. tq20's test print and previews are held against that paper.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

#include "CPrinterSim.h"
#include "CSimPaper.h"
#include "CliRun.h"
#include "ConfiguratorStrings.h"
#include "DecodedPng.h"
#include "PaperFigures.h"
#include "ReceiptRenderer.h"

namespace {

using namespace std::chrono_literals;

class SimPaperTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("tq20-sim-paper-" + std::to_string(::getpid()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        paper = std::make_unique<CSimPaper>(folder);
        sim.SetPrintListener(
            [this](std::span<const std::uint8_t> bytes, const CSimProtocol::Record& record) {
                paper->Heard(bytes, record);
            });
        ASSERT_TRUE(sim.Start());
    }
    void TearDown() override {
        sim.Stop();
        paper.reset();
        std::filesystem::remove_all(folder);
    }

    // Writes as a host program would: a raw line at the printer's factory speed.
    void Send(const std::string& bytes) {
        const int fd = ::open(sim.DevicePath().c_str(), O_RDWR | O_NOCTTY);
        ASSERT_GE(fd, 0);
        termios line{};
        ::tcgetattr(fd, &line);
        ::cfmakeraw(&line);
        ::cfsetspeed(&line, B115200);
        line.c_cflag |= CRTSCTS;
        ::tcsetattr(fd, TCSANOW, &line);
        ASSERT_EQ(::write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        ::tcdrain(fd);
        ::close(fd);
    }

    bool WaitForFiles(std::size_t count) {
        for (int i = 0; i < 100 && paper->Written().size() < count; ++i) {
            std::this_thread::sleep_for(50ms);
        }
        return paper->Written().size() == count;
    }

    static void ExpectPaperShows(const std::filesystem::path& file, const std::string& bytes,
                                 const CSimProtocol::Record& record) {
        const Raster raster = RenderReceipt(
            std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()),
            PrinterSettings::FromBytes(record));
        const DecodedPng png = DecodePng(file.string());
        ASSERT_EQ(png.width, paper::kPaperDots) << file;
        ASSERT_EQ(png.height, raster.Height()) << file;
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < raster.Width(); ++x) {
                ASSERT_EQ(png.At(x + paper::kMarginDots, y) != 255, raster.Ink(x, y))
                    << file << " " << x << "," << y;
            }
        }
    }

    // Of the whole receipt, or of its first rows.
    static int FirstInkColumn(const std::filesystem::path& file, int rows = -1) {
        const DecodedPng png = DecodePng(file.string());
        int first = png.width;
        for (int y = 0; y < (rows < 0 ? png.height : std::min(rows, png.height)); ++y) {
            for (int x = 0; x < first; ++x) {
                first = png.At(x, y) != 255 ? x : first;
            }
        }
        return first;
    }

    std::filesystem::path folder;
    std::unique_ptr<CSimPaper> paper;
    CPrinterSim sim;
};

TEST_F(SimPaperTest, EachReceiptFollowsTheSettingsTheSimulatorHolds) {
    const std::string title = "\xD7\xC5\xCA TQ-20\n";
    const CSimProtocol::Record factory = sim.Current();
    Send(title);
    ASSERT_TRUE(WaitForFiles(1));
    ExpectPaperShows(paper->Written()[0], title, factory);

    const Outcome set = RunTool("settings set --port " + sim.DevicePath() + " alignment=center");
    ASSERT_EQ(set.exitCode, 0) << set.output;
    const CSimProtocol::Record centred = sim.Current();
    ASSERT_EQ(centred[6], 3);
    std::this_thread::sleep_for(CSimPaper::kReceiptQuiet + 300ms);
    EXPECT_EQ(paper->Written().size(), 1u) << "a settings conversation is no receipt";

    // Two pieces less than a second apart are one receipt.
    Send(title.substr(0, 3));
    std::this_thread::sleep_for(300ms);
    Send(title.substr(3));
    ASSERT_TRUE(WaitForFiles(2));
    ExpectPaperShows(paper->Written()[1], title, centred);
    EXPECT_GT(FirstInkColumn(paper->Written()[1]), FirstInkColumn(paper->Written()[0]) + 100);
}

// The rows above the date line and the paper fed after it: what two test prints made in
// different minutes share.
constexpr int kDateAndFeedRows = 140;

void ExpectSamePictures(const std::filesystem::path& a, const std::filesystem::path& b) {
    const DecodedPng one = DecodePng(a.string());
    const DecodedPng two = DecodePng(b.string());
    ASSERT_EQ(one.width, paper::kPaperDots) << a;
    ASSERT_EQ(two.width, one.width) << b;
    ASSERT_EQ(two.height, one.height) << b;
    for (int y = 0; y < one.height - kDateAndFeedRows; ++y) {
        for (int x = 0; x < one.width; ++x) {
            ASSERT_EQ(one.At(x, y), two.At(x, y)) << a << " " << b << " " << x << "," << y;
        }
    }
}

TEST_F(SimPaperTest, TheTestPrintFollowsASettingsChangeAndLeavesTheSettingsAsTheyWere) {
    const std::string port = "--port " + sim.DevicePath();
    const Outcome first = RunTool("test-print " + port);
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_NE(first.output.find(ConfigString(IDS_TEST_PRINT_SENT)), std::string::npos);
    ASSERT_TRUE(WaitForFiles(1));

    ASSERT_EQ(RunTool("settings set " + port + " alignment=center fontHeight=double").exitCode, 0);
    const CSimProtocol::Record changed = sim.Current();
    ASSERT_EQ(RunTool("test-print " + port).exitCode, 0);
    ASSERT_TRUE(WaitForFiles(2));
    EXPECT_EQ(sim.Current(), changed) << "the receipt sets back the font and alignment it used";
    // Centred, the title starts (384 - 17 characters of 12 dots) / 2 dots right of where it did.
    const int titleRows = paper::kNormalCharHeightDots;
    EXPECT_EQ(FirstInkColumn(paper->Written()[1], 2 * titleRows),
              FirstInkColumn(paper->Written()[0], titleRows) + (384 - 17 * 12) / 2);
    EXPECT_GT(DecodePng(paper->Written()[1].string()).height,
              DecodePng(paper->Written()[0].string()).height);
}

TEST_F(SimPaperTest, PreviewsDrawWhatThePrinterPrints) {
    const std::string port = "--port " + sim.DevicePath();
    ASSERT_EQ(RunTool("settings set " + port + " leftIndent=6 barcodeHri=on").exitCode, 0);
    ASSERT_EQ(RunTool("test-print " + port).exitCode, 0);
    ASSERT_TRUE(WaitForFiles(1));

    const auto fromPrinter = folder / "from-printer.png";
    const Outcome preview = RunTool("test-print " + port + " --preview " + fromPrinter.string());
    ASSERT_EQ(preview.exitCode, 0) << preview.output;
    ExpectSamePictures(paper->Written()[0], fromPrinter);

    const auto saved = folder / "saved.json";
    ASSERT_EQ(RunTool("settings save " + port + " " + saved.string()).exitCode, 0);
    const auto fromFile = folder / "from-file.png";
    const Outcome drawn = RunTool("preview --settings " + saved.string() + " " + fromFile.string());
    ASSERT_EQ(drawn.exitCode, 0) << drawn.output;
    ExpectSamePictures(paper->Written()[0], fromFile);
    std::this_thread::sleep_for(CSimPaper::kReceiptQuiet + 300ms);
    EXPECT_EQ(paper->Written().size(), 1u) << "a preview prints nothing";
}

TEST_F(SimPaperTest, AUserSampleIsCheckedBeforeThePrinterHearsAnything) {
    const std::string port = "--port " + sim.DevicePath();
    const auto sample = folder / "sample.txt";
    {
        std::ofstream file(sample);
        file << "Shop 12\n@align center\n@barcode ean13 460123456789\n@feed 40\n";
    }
    const Outcome printed = RunTool("test-print " + port + " --sample " + sample.string());
    ASSERT_EQ(printed.exitCode, 0) << printed.output;
    ASSERT_TRUE(WaitForFiles(1));

    {
        std::ofstream file(sample);
        file << "Shop 12\n@align middle\n";
    }
    const std::size_t heard = sim.Commands().size();
    struct Case {
        std::string arguments;
        int exitCode;
        std::string said;
    } const cases[] = {
        {"test-print " + port + " --sample " + sample.string(), 6, "line 2: @align takes"},
        {"test-print " + port + " --sample " + (folder / "none.txt").string(), 6, "cannot be read"},
        {"preview --sample " + sample.string() + " " + (folder / "x.png").string(), 6, "line 2"},
        {"test-print " + port + " --port /dev/null --preview x.png", 2, "one port"},
        {"preview " + (folder / "no-such-folder" / "x.png").string(), 6, "no-such-folder"},
    };
    for (const Case& c : cases) {
        const Outcome outcome = RunTool(c.arguments);
        EXPECT_EQ(outcome.exitCode, c.exitCode) << c.arguments << "\n" << outcome.output;
        EXPECT_NE(outcome.output.find(c.said), std::string::npos) << outcome.output;
    }
    EXPECT_EQ(sim.Commands().size(), heard) << "the printer heard nothing";
}

TEST_F(SimPaperTest, SeveralPrintersPrintAtOnce) {
    const auto otherFolder = folder / "other";
    std::filesystem::create_directories(otherFolder);
    CSimPaper otherPaper(otherFolder);
    CPrinterSim other;
    other.SetPrintListener(
        [&otherPaper](std::span<const std::uint8_t> bytes, const CSimProtocol::Record& record) {
            otherPaper.Heard(bytes, record);
        });
    ASSERT_TRUE(other.Start());
    const Outcome outcome =
        RunTool("test-print --port " + sim.DevicePath() + " --port " + other.DevicePath());
    EXPECT_EQ(outcome.exitCode, 0) << outcome.output;
    ASSERT_TRUE(WaitForFiles(1));
    for (int i = 0; i < 100 && otherPaper.Written().empty(); ++i) {
        std::this_thread::sleep_for(50ms);
    }
    ASSERT_EQ(otherPaper.Written().size(), 1u);
    ExpectSamePictures(paper->Written()[0], otherPaper.Written()[0]);
    other.Stop();
}

}  // namespace
