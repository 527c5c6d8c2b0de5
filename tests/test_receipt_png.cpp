// The receipt's picture read back through libpng: the head's dots in the middle of the paper,
// dot for dot, and the contrast only in the ink's tint.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "DecodedPng.h"
#include "PaperFigures.h"
#include "ReceiptPng.h"
#include "ReceiptRenderer.h"

namespace {

TEST(ReceiptPng, PixelsAreTheRasterTintedByTheContrast) {
    const auto dir = std::filesystem::temp_directory_path() / "tq20-receipt-png";
    std::filesystem::create_directories(dir);
    PrinterSettings record{};
    record.fontMode = 0x50;
    record.alignment = 3;
    const std::string bytes =
        "\xCF\xF0\xEE\xE1\xE0 TQ-20\n\x1Dk\x43\x0D"
        "5901234123457";
    const Raster raster = RenderReceipt(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), record);
    int previousInk = 256;
    for (const int contrast : {0, 128, 255}) {
        const std::string path = (dir / ("c" + std::to_string(contrast) + ".png")).string();
        std::string error;
        ASSERT_TRUE(WriteReceiptPng(raster, static_cast<std::uint8_t>(contrast), path, error))
            << error;
        const DecodedPng png = DecodePng(path);
        ASSERT_EQ(png.width, paper::kPaperDots);
        ASSERT_EQ(png.height, raster.Height());
        int ink = -1;
        for (int y = 0; y < png.height; ++y) {
            for (int x = 0; x < png.width; ++x) {
                const std::uint8_t grey = png.At(x, y);
                const bool inked = raster.Ink(x - paper::kMarginDots, y);
                ASSERT_EQ(grey != 255, inked) << x << "," << y;
                ink = inked ? grey : ink;
            }
        }
        EXPECT_LT(ink, previousInk) << contrast;
        previousInk = ink;
    }
    EXPECT_EQ(previousInk, 0);
    std::string error;
    EXPECT_FALSE(WriteReceiptPng(raster, 0, (dir / "no-such" / "r.png").string(), error));
    EXPECT_NE(error.find("no-such"), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
