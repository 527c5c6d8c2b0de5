// The receipt renderer measured on its raster: every case pins a length a mistake would move
// (indent, field, alignment, glyph advance, barcode geometry), in dots at 8 a millimetre.
#include <gtest/gtest.h>

#include <string>

#include "PaperFigures.h"
#include "RasterExtent.h"
#include "ReceiptRenderer.h"

namespace {

// Normal characters, left aligned, no indent, the factory field, barcodes plain.
PrinterSettings Record() {
    PrinterSettings record{};
    record.fontMode = 0x50;
    record.alignment = 1;
    record.printFieldWidth = 48;
    record.barcodeHeight = 40;
    record.barcodeWidth = 2;
    return record;
}

Raster Render(const std::string& bytes, const PrinterSettings& record = Record()) {
    return RenderReceipt(
        std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()), record);
}

// A block of ink `columns` wide and 24 dots high, edge to edge: its extent is its box.
std::string Block(int columns) {
    std::string bytes = "\x1B*";
    bytes += '\x21';
    bytes += static_cast<char>(columns);
    bytes += std::string(static_cast<std::size_t>(columns) * 3, '\xFF');
    return bytes;
}

std::string Mm(int n) {
    return std::string{static_cast<char>(n), '\0'};
}

TEST(ReceiptLayout, LeftIndentMovesTheFirstInkedColumnByEightDotsAMillimetre) {
    const int base = InkExtent(Render("H\n")).left;
    for (const int mm : {1, 5, 10, 30}) {
        PrinterSettings record = Record();
        record.leftIndent = static_cast<std::uint8_t>(mm);
        EXPECT_EQ(InkExtent(Render("H\n", record)).left, base + 8 * mm) << "record, " << mm;
        EXPECT_EQ(InkExtent(Render("\x1DL" + Mm(mm) + "H\n")).left, base + 8 * mm)
            << "GS L, " << mm;
    }
}

TEST(ReceiptLayout, AlignmentPutsTheLineWhereTheFieldSays) {
    struct Case {
        int indentMm, fieldMm, alignment, left;
    } const cases[] = {
        {0, 48, 1, 0},
        {0, 48, 2, 384 - 40},
        {0, 48, 3, (384 - 40) / 2},
        {5, 30, 1, 40},
        {5, 30, 2, 40 + 240 - 40},
        {5, 30, 3, 40 + (240 - 40) / 2},
        {10, 0, 2, 80 + 304 - 40},  // no width: the factory field, clipped by the head
    };
    for (const Case& c : cases) {
        PrinterSettings record = Record();
        record.leftIndent = static_cast<std::uint8_t>(c.indentMm);
        record.printFieldWidth = static_cast<std::uint8_t>(c.fieldMm);
        record.alignment = static_cast<std::uint8_t>(c.alignment);
        const Extent e = InkExtent(Render(Block(40) + "\n", record));
        EXPECT_EQ(e.left, c.left) << c.indentMm << " mm, " << c.fieldMm << " mm, " << c.alignment;
        EXPECT_EQ(e.right, c.left + 39) << c.indentMm << " mm, " << c.fieldMm << " mm";
    }
    // Text: right alignment moves two normal characters to the field's end, 24 dots wide.
    PrinterSettings right = Record();
    right.alignment = 2;
    EXPECT_EQ(InkExtent(Render("HH\n", right)).right - InkExtent(Render("HH\n")).right, 384 - 24);
    EXPECT_EQ(InkExtent(Render("\x1B"
                               "a\x03HH\n"))
                      .right -
                  InkExtent(Render("HH\n")).right,
              (384 - 24) / 2);
}

TEST(ReceiptLayout, CharacterWidthSetsTheGlyphAdvance) {
    struct Case {
        std::string mode;
        int advance;
    } const cases[] = {
        {"\x1B!\x40", 6},  {"\x1B!\x50", 12}, {"\x1B!\x60", 24}, {"\x1B!\x70", 48},
        {"\x1D!\x10", 24}, {"\x1D!\x30", 48}, {"\x1B!\x51", 12},  // bold keeps the advance
    };
    for (const Case& c : cases) {
        const int one = InkExtent(Render(c.mode + "H\n")).right;
        const int two = InkExtent(Render(c.mode + "HH\n")).right;
        EXPECT_EQ(two - one, c.advance) << testing::PrintToString(c.mode);
    }
}

TEST(ReceiptLayout, NegativeInvertsTheCharacterBox) {
    const Raster plain = Render("H");
    for (const char* mode : {"\x1B!\x58",
                             "\x1D"
                             "B\x01"}) {
        const Raster negative = Render(std::string(mode) + "H");
        ASSERT_EQ(negative.Height(), plain.Height());
        for (int y = 0; y < 24; ++y) {
            for (int x = 0; x < 12; ++x) {
                ASSERT_NE(negative.Ink(x, y), plain.Ink(x, y)) << x << "," << y;
            }
            EXPECT_FALSE(negative.Ink(12, y));
        }
    }
}

TEST(ReceiptLayout, AFieldWiderThanTheHeadIsClippedAndWrapsWhole) {
    struct Case {
        int indentMm, fieldMm, characters, lines, charactersOnLastLine;
    } const cases[] = {
        {0, 48, 32, 1, 32}, {0, 48, 33, 2, 1}, {0, 60, 40, 2, 8},
        {40, 48, 10, 2, 5}, {20, 10, 7, 2, 1},
    };
    for (const Case& c : cases) {
        PrinterSettings record = Record();
        record.leftIndent = static_cast<std::uint8_t>(c.indentMm);
        record.printFieldWidth = static_cast<std::uint8_t>(c.fieldMm);
        const Raster raster =
            Render(std::string(static_cast<std::size_t>(c.characters), 'H'), record);
        EXPECT_EQ(raster.Height(), c.lines * (24 + paper::kLineGapDots)) << c.indentMm;
        const Raster last =
            Render(std::string(static_cast<std::size_t>(c.charactersOnLastLine), 'H'), record);
        // The last line is the short one, and its ink where a line of that length puts it.
        int lastRight = -1;
        for (int y = raster.Height() - 30; y < raster.Height(); ++y) {
            for (int x = 0; x < raster.Width(); ++x) {
                lastRight = raster.Ink(x, y) ? std::max(lastRight, x) : lastRight;
            }
        }
        EXPECT_EQ(lastRight, InkExtent(last).right) << c.indentMm << " mm, " << c.fieldMm;
    }
}

TEST(ReceiptLayout, TabsStopAtMultiplesOfTheStep) {
    PrinterSettings record = Record();
    record.tabulation = 4;
    EXPECT_EQ(InkExtent(Render("H\tH\n", record)).right, InkExtent(Render("    H\n")).right);
    EXPECT_EQ(InkExtent(Render("HHHHH\tH\n", record)).right,
              InkExtent(Render("        H\n")).right);
    // No step: a tab adds nothing.
    EXPECT_EQ(InkExtent(Render("H\tH\n")).right, InkExtent(Render("HH\n")).right);
}

// The bars' column range and row range, taken on the row through the middle of the bars.
TEST(ReceiptBarcode, HeightModuleAndQuietZonesMeasureAsSet) {
    struct Case {
        int height, module, topRows, sideMm, indentMm;
    } const cases[] = {
        {40, 2, 0, 0, 0},
        {80, 3, 16, 2, 0},
        {10, 1, 8, 7, 5},
        {100, 2, 31, 1, 3},
    };
    // EAN-13: 95 modules, opening with a one-module bar.
    const std::string ean = std::string("\x1Dk\x43\x0D") + "5901234123457";
    for (const Case& c : cases) {
        PrinterSettings record = Record();
        record.barcodeHeight = static_cast<std::uint8_t>(c.height);
        record.barcodeWidth = static_cast<std::uint8_t>(c.module);
        record.barcodeQuietZone = static_cast<std::uint8_t>(c.topRows << 3 | c.sideMm);
        record.barcodeLeftIndent = static_cast<std::uint8_t>(c.indentMm);
        const Raster raster = Render(ean, record);
        const Extent e = InkExtent(raster);
        const int first = 8 * (c.indentMm + c.sideMm);
        EXPECT_EQ(e.left, first) << c.height;
        EXPECT_EQ(e.right, first + 95 * c.module - 1) << c.module;
        EXPECT_EQ(e.top, c.topRows) << c.topRows;
        EXPECT_EQ(e.bottom, c.topRows + c.height - 1) << c.height;
        EXPECT_EQ(raster.Height(), 2 * c.topRows + c.height);
        EXPECT_TRUE(raster.Ink(first + c.module - 1, e.top));
        EXPECT_FALSE(raster.Ink(first + c.module, e.top)) << "the first bar is one module";
    }
}

TEST(ReceiptBarcode, ReadableCharactersAboveBelowOrBoth) {
    const int text = 24 + paper::kLineGapDots;
    struct Case {
        int hri;
        bool above, below;
    } const cases[] = {
        {0, false, false}, {1, true, false}, {2, false, true}, {3, true, true}, {4, false, true},
    };
    for (const std::string& code :
         {std::string("\x1Dk\x49\x05") + "A1234", std::string("\x1Dk\x45\x04") + "TQ20"}) {
        for (const Case& c : cases) {
            PrinterSettings record = Record();
            record.barcodeHri = static_cast<std::uint8_t>(c.hri);
            const Raster raster = Render(code, record);
            const int barColumn = InkExtent(Render(code)).left;
            int barTop = -1;
            for (int y = 0; y < raster.Height() && barTop < 0; ++y) {
                barTop = raster.Ink(barColumn, y) ? y : -1;
            }
            EXPECT_EQ(barTop, c.above ? text : 0) << c.hri;
            EXPECT_EQ(raster.Height(),
                      40 + (c.above ? text : 0) + (c.below ? paper::kLineGapDots + text : 0))
                << c.hri;
            // The characters themselves are ink, not just room.
            EXPECT_EQ(InkExtent(raster).top < barTop, c.above) << c.hri;
        }
    }
}

TEST(ReceiptBarcode, DataTheSymbologyRefusesPrintsNothing) {
    for (const std::string& code :
         {std::string("\x1Dk\x43\x03") + "ABC", std::string("\x1Dk\x10\x02") + "12",
          std::string("\x1Dk\x49\x00", 4)}) {
        const Raster raster = Render(code + "H");
        EXPECT_EQ(raster.Height(), 24 + paper::kLineGapDots) << testing::PrintToString(code);
    }
}

// Commands that leave no mark are skipped by their length, reset and cancel act on what
// follows, and what the printer does not know prints as the characters it is.
TEST(ReceiptCommands, SkippedResetOrPrintedAsCharacters) {
    const Raster h = Render("H");
    struct Case {
        std::string bytes;
        bool sameAsH;
    } const cases[] = {
        {"\x1B"
         "c5\x01H",
         true},
        {"\x12"
         "cLcH",
         true},
        {"\x1D"
         "I\x41H",
         true},
        {"\x10\x04\x01H", true},
        {"\x12"
         "U\x01\x02H",
         true},
        {"\x1B!\x60\x1B@H", true},
        {"HHH\x18H", true},
        {"\rH", true},
        {"\x1B"
         "zH",
         false},
        {"\x01H", false},
    };
    for (const Case& c : cases) {
        const Raster raster = Render(c.bytes);
        bool same = raster.Height() == h.Height();
        for (int y = 0; same && y < h.Height(); ++y) {
            for (int x = 0; x < h.Width(); ++x) {
                same = same && raster.Ink(x, y) == h.Ink(x, y);
            }
        }
        EXPECT_EQ(same, c.sameAsH) << testing::PrintToString(c.bytes);
    }
    // A command cut short by the end of the bytes prints nothing of itself.
    for (const char* cut : {"H\x1B",
                            "H\x1D"
                            "k\x49\x05"
                            "AB",
                            "H\x1B*\x21\x02\xFF"}) {
        EXPECT_EQ(Render(cut).Height(), h.Height()) << testing::PrintToString(cut);
    }
}

TEST(ReceiptCommands, BitImageColumnsTopBitFirst) {
    // Single density doubles each column; 8-dot columns.
    const Raster raster = Render(std::string("\x1B*\x00\x02\x80\x01", 6));
    for (int x = 0; x < 4; ++x) {
        EXPECT_EQ(raster.Ink(x, 0), x < 2) << x;
        EXPECT_EQ(raster.Ink(x, 7), x >= 2) << x;
    }
    EXPECT_EQ(InkExtent(raster).right, 3);
}

TEST(ReceiptCommands, CyrillicComesFromItsOwnGlyphs) {
    const Raster zhe = Render("\xC6");
    const Raster question = Render("?");
    EXPECT_GT(InkExtent(zhe).right, 0);
    bool differs = false;
    for (int y = 0; y < 24; ++y) {
        for (int x = 0; x < 12; ++x) {
            differs = differs || zhe.Ink(x, y) != question.Ink(x, y);
        }
    }
    EXPECT_TRUE(differs);
}

}  // namespace
