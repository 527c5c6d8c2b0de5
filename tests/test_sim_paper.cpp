// The simulator prints: bytes written to its port come out as one PNG per receipt after a
// quiet second, drawn with the record it holds, so a settings change made with tq20 moves
// what the next receipt shows. Settings conversations make no file, and the printer still
// answers them.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "CPrinterSim.h"
#include "CSimPaper.h"
#include "CliRun.h"
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

    static int FirstInkColumn(const std::filesystem::path& file) {
        const DecodedPng png = DecodePng(file.string());
        int first = png.width;
        for (int y = 0; y < png.height; ++y) {
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

}  // namespace
