// The test receipt: the sample's markup becomes the printer's commands, its first block prints
// with the printer's own settings, its ruler marks the print field, and it leaves the
// printer's current settings as it found them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "BuiltInSample.h"
#include "DecodedPng.h"
#include "FactorySettings.h"
#include "PaperFigures.h"
#include "RasterExtent.h"
#include "ReceiptPng.h"
#include "ReceiptRenderer.h"
#include "SettingsSummary.h"
#include "SimProtocol.h"
#include "TestPrintComposer.h"

namespace {

std::vector<std::uint8_t> Compose(std::string_view sample,
                                  const PrinterSettings& record = kFactorySettings) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    EXPECT_TRUE(ComposeTestPrint(sample, record, "2026-12-10 12:00", bytes, error)) << error;
    return bytes;
}

Raster Render(std::string_view sample, const PrinterSettings& record = kFactorySettings) {
    return RenderReceipt(Compose(sample, record), record);
}

PrinterSettings WithTextPosition(int alignment, int indentMm, int fieldMm) {
    PrinterSettings record = kFactorySettings;
    record.alignment = static_cast<std::uint8_t>(alignment);
    record.leftIndent = static_cast<std::uint8_t>(indentMm);
    record.printFieldWidth = static_cast<std::uint8_t>(fieldMm);
    return record;
}

TEST(TestPrintMarkup, ALineThatCannotBePrintedIsNamedWithItsNumber) {
    struct Case {
        std::string line;
        std::string said;
    } const cases[] = {
        {"@bogus", "unknown markup @bogus"},
        {"@font huge normal", "@font takes a height"},
        {"@font normal", "@font takes a height"},
        {"@font normal normal italic", "unknown style italic"},
        {"@align middle", "@align takes one of left, right, center"},
        {"@align left right", "@align takes one of"},
        {"@feed 256", "@feed takes"},
        {"@feed -1", "@feed takes"},
        {"@feed ten", "@feed takes"},
        {"@barcode qr DATA", "@barcode takes"},
        {"@barcode code128", "@barcode takes"},
        {"@barcode code128 " + std::string(254, '1'), "@barcode takes"},  // 256 with the code set
        {"@marks now", "@marks takes nothing"},
        {"@settings all", "@settings takes nothing"},
    };
    for (const Case& c : cases) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_FALSE(
            ComposeTestPrint("first\n\n" + c.line + "\nlast\n", kFactorySettings, "", bytes, error))
            << c.line;
        EXPECT_EQ(error.rfind("line 3: ", 0), 0u) << error;
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
    }
}

TEST(TestPrintMarkup, TextIsPrintedInTheCodePageAndAtAtSignsAreText) {
    const std::vector<std::uint8_t> bytes = Compose("Чек\r\n@@font\n\n");
    const std::vector<std::uint8_t> expected{0x1B, 0x40,              // initialise
                                             0xD7, 0xE5, 0xEA, 0x0A,  // "Чек"
                                             '@',  'f',  'o',  'n',  't', 0x0A, 0x0A};
    EXPECT_EQ(bytes, expected);
}

TEST(TestPrintMarkup, EveryBuiltInSampleComposes) {
    for (const auto language : {SampleLanguage::Russian, SampleLanguage::English}) {
        std::vector<std::uint8_t> bytes;
        std::string error;
        EXPECT_TRUE(ComposeTestPrint(BuiltInSample(language), kFactorySettings, "", bytes, error))
            << error;
    }
}

// The first block carries no formatting, so it lands where the printer's settings put text.
TEST(TestPrintLayout, TheFirstBlockFollowsThePrintersTextPosition) {
    const std::string sample(BuiltInSample(SampleLanguage::Russian));
    const int titleDots = 17 * paper::kNormalCharWidthDots;  // "ТЕСТ ПЕЧАТИ TQ-20"
    const Raster plain = Render(sample, WithTextPosition(1, 0, 48));
    const RowRun plainTitle = InkedRowRuns(plain).front();
    const Extent ink = InkExtent(plain, plainTitle.top, plainTitle.bottom + 1);
    struct Case {
        int alignment, indentMm, fieldMm;
    } const cases[] = {{1, 5, 40}, {2, 0, 48}, {2, 3, 30}, {3, 0, 48}, {3, 10, 30}, {3, 0, 0}};
    for (const Case& c : cases) {
        const Raster raster = Render(sample, WithTextPosition(c.alignment, c.indentMm, c.fieldMm));
        const RowRun title = InkedRowRuns(raster).front();
        const Extent e = InkExtent(raster, title.top, title.bottom + 1);
        const paper::Field field = paper::PrintField(c.indentMm, c.fieldMm);
        const int lineLeft = c.alignment == 1   ? field.left
                             : c.alignment == 2 ? field.right - titleDots
                                                : field.left + (field.Width() - titleDots) / 2;
        EXPECT_EQ(e.left, lineLeft + ink.left)
            << c.alignment << ", " << c.indentMm << " mm, " << c.fieldMm << " mm";
        EXPECT_EQ(e.right, lineLeft + ink.right);
    }
}

TEST(TestPrintLayout, TheRulerSpansThePrintFieldExactly) {
    struct Case {
        int indentMm, fieldMm;
    } const cases[] = {{0, 48}, {5, 40}, {0, 0}, {12, 20}, {20, 48} /* clipped by the head */};
    for (const Case& c : cases) {
        const PrinterSettings record = WithTextPosition(1, c.indentMm, c.fieldMm);
        const Raster raster = Render("@marks\n", record);
        const Extent e = InkExtent(raster);
        const paper::Field field = paper::PrintField(c.indentMm, c.fieldMm);
        EXPECT_EQ(e.left, field.left) << c.indentMm << " mm, " << c.fieldMm << " mm";
        EXPECT_EQ(e.right, field.right - 1) << c.indentMm << " mm, " << c.fieldMm << " mm";
        EXPECT_EQ(e.bottom - e.top, 7) << "eight dots tall at the edges";
    }
}

// The font and alignment commands also change the printer's current settings: the receipt
// must put the record's back, or the next read shows the test print's last mode.
TEST(TestPrintSettings, APrinterHoldsItsSettingsAfterTheTestPrint) {
    for (const auto language : {SampleLanguage::Russian, SampleLanguage::English}) {
        CSimProtocol printer;
        PrinterSettings record = kFactorySettings;
        record.fontMode = 0x61;  // double width, bold
        record.alignment = 3;
        printer.SetCurrent(record.ToBytes());
        printer.Feed(Compose(BuiltInSample(language), record));
        EXPECT_EQ(PrinterSettings::FromBytes(printer.Current()), record);
    }
}

TEST(TestPrintSettings, TheSimulatorStartsFromTheFactorySettingsTheToolsKnow) {
    EXPECT_EQ(PrinterSettings::FromBytes(CSimProtocol().Factory()), kFactorySettings);
}

TEST(TestPrintSettings, TheSummaryShowsEveryPageWithTheRecordsValues) {
    PrinterSettings record = kFactorySettings;
    record.alignment = 3;
    record.leftIndent = 7;
    const std::vector<std::string> lines = SettingsSummary(record);
    const auto has = [&lines](const std::string& text) {
        return std::find(lines.begin(), lines.end(), text) != lines.end();
    };
    EXPECT_TRUE(has(" Выравнивание: По центру"));
    EXPECT_TRUE(has(" Отступ слева, мм: 7"));
    EXPECT_TRUE(has("Параметры штрих-кода"));
    EXPECT_TRUE(has(" Скорость: 115200"));
}

// Whole receipts held against pictures in the tree, pixel by pixel after decoding, with a fixed
// date. A deliberate change of the font or the layout makes new ones:
// scripts/regenerate-reference-receipts.
struct Reference {
    const char* name;
    PrinterSettings record;
    std::string sample;
};

std::vector<Reference> References() {
    PrinterSettings shop = kFactorySettings;
    shop.alignment = 3;
    shop.leftIndent = 4;
    shop.printFieldWidth = 40;
    shop.fontMode = 0x51;  // normal, bold
    shop.barcodeHri = 3;   // above and below
    shop.barcodeHeight = 60;
    shop.barcodeWidth = 2;
    shop.barcodeQuietZone = 0x21;  // 4 rows above and below, 1 mm either side
    shop.contrast = 200;
    return {
        {"factory-ru", kFactorySettings, std::string(BuiltInSample(SampleLanguage::Russian))},
        {"shop-en", shop, std::string(BuiltInSample(SampleLanguage::English))},
        {"markup", kFactorySettings,
         "@font quadruple quadruple\nTQ\n@font low narrow underline\nsmall\n@reset\n"
         "@align right\n@barcode ean13 4601234567893\n@align left\n@barcode code39 TQ-20\n"
         "@@ at\n\ttab\n@feed 8\n@marks\n"},
    };
}

TEST(ReferenceReceipts, TheDrawnReceiptsMatchTheirPictures) {
    const bool record = std::getenv("TQ20_RECEIPT_RECORD") != nullptr;
    for (const Reference& reference : References()) {
        const std::string stored = std::string(TQ20_RECEIPT_DIR) + "/" + reference.name + ".png";
        const std::string drawn =
            record ? stored : ::testing::TempDir() + "tq20-" + reference.name + ".png";
        std::vector<std::uint8_t> bytes;
        std::string error;
        ASSERT_TRUE(
            ComposeTestPrint(reference.sample, reference.record, "2026-12-10 12:00", bytes, error))
            << error;
        ASSERT_TRUE(WriteReceiptPng(RenderReceipt(bytes, reference.record),
                                    reference.record.contrast, drawn, error))
            << error;
        if (record) {
            continue;
        }
        const DecodedPng expected = DecodePng(stored);
        const DecodedPng actual = DecodePng(drawn);
        ASSERT_GT(expected.width, 0) << stored;
        ASSERT_EQ(actual.width, expected.width) << reference.name;
        ASSERT_EQ(actual.height, expected.height) << reference.name;
        int differing = 0;
        for (std::size_t i = 0; i < expected.grey.size(); ++i) {
            differing += expected.grey[i] != actual.grey[i] ? 1 : 0;
        }
        EXPECT_EQ(differing, 0) << reference.name << ": compare " << drawn << " with " << stored;
    }
}

}  // namespace
