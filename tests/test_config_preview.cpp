// The receipt preview beside the pages: it draws the test receipt with what the pages hold
// before it is saved, without a printer too, and the test print sends what it draws.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QScrollBar>
#include <functional>
#include <mutex>
#include <regex>

#include "CReceiptPreview.h"
#include "ConfigWindowFixture.h"
#include "FactorySettings.h"
#include "PaperFigures.h"
#include "WindowTestPrint.h"

namespace {

class ConfigPreviewTest : public ConfigWindowTest {
protected:
    const PrinterSettings& Drawn() { return window->Preview()->Record(); }
    QPushButton* TestPrintButton() { return Find<QPushButton>(window.get(), "testPrintButton"); }
    QString Status() { return Find<QLabel>(window.get(), "statusLine")->text(); }
    PrinterSettings Printer() { return PrinterSettings::FromBytes(sim.Current()); }

    bool WaitForDrawn(const std::function<bool(const PrinterSettings&)>& shows) {
        return QTest::qWaitFor([&] { return shows(Drawn()); }, 2000);
    }

    // The first inked column of the receipt's first line of text, in dots of the paper.
    int TitleLeft() {
        const QImage& receipt = window->Preview()->Receipt();
        for (int x = 0; x < receipt.width(); ++x) {
            for (int y = 0; y < paper::kNormalCharHeightDots; ++y) {
                if (qGray(receipt.pixel(x, y)) != 255) {
                    return x;
                }
            }
        }
        return -1;
    }
};

TEST_F(ConfigPreviewTest, WithoutAPrinterThePreviewDrawsTheFactorySettings) {
    EXPECT_EQ(Drawn(), kFactorySettings);
    EXPECT_EQ(window->Preview()->Receipt().width(), paper::kPaperDots);
    EXPECT_GE(TitleLeft(), paper::kMarginDots);
    EXPECT_LT(TitleLeft(), paper::kMarginDots + paper::kNormalCharWidthDots) << "in the first cell";
    EXPECT_FALSE(TestPrintButton()->isEnabled()) << "nothing to print on";
}

struct EditCase {
    const char* name;
    int page;  // the tree item's string
    std::function<void(CConfigDlg&)> edit;
    std::function<bool(const PrinterSettings&)> shows;
};

template <typename T>
T* Control(CConfigDlg& window, int page, const char* name) {
    return window.Page(page)->findChild<T*>(name);
}

TEST_F(ConfigPreviewTest, EveryKindOfControlRedrawsThePreviewBeforeTheSave) {
    const EditCase cases[] = {
        {"indent", IDS_TEXT_POSITION,
         [](CConfigDlg& w) {
             Control<QLineEdit>(w, kPageTextPosition, "indentEdit")->setText("7");
         },
         [](const PrinterSettings& r) { return r.leftIndent == 7; }},
        {"alignment", IDS_TEXT_POSITION,
         [](CConfigDlg& w) {
             Control<QComboBox>(w, kPageTextPosition, "alignmentCombo")->setCurrentIndex(2);
         },
         [](const PrinterSettings& r) { return r.alignment == 3; }},
        {"font width", IDS_FONT,
         [](CConfigDlg& w) { Control<QComboBox>(w, kPageFont, "widthCombo")->setCurrentIndex(2); },
         [](const PrinterSettings& r) { return ((r.fontMode >> 4) & 0x03) == 2; }},
        {"readable characters", IDS_BARCODE,
         [](CConfigDlg& w) { Control<QCheckBox>(w, kPageBarcode, "readableCheck")->toggle(); },
         [](const PrinterSettings& r) { return r.barcodeHri != 0; }},
        {"barcode height", IDS_BARCODE,
         [](CConfigDlg& w) { Control<QLineEdit>(w, kPageBarcode, "heightEdit")->setText("40"); },
         [](const PrinterSettings& r) { return r.barcodeHeight == 40; }},
        {"contrast", IDS_PRINTING,
         [](CConfigDlg& w) { Control<QSlider>(w, kPagePrinting, "contrastBar")->setValue(200); },
         [](const PrinterSettings& r) { return r.contrast == 200; }},
    };
    ASSERT_TRUE(Connect());
    const PrinterSettings stored = Printer();
    ASSERT_TRUE(WaitForDrawn([&](const PrinterSettings& r) { return r == stored; }));
    for (const EditCase& c : cases) {
        Select(c.page);
        c.edit(*window);
        EXPECT_TRUE(WaitForDrawn(c.shows)) << c.name;
        EXPECT_EQ(Printer(), stored) << c.name << ": nothing is saved";
        window->Page(window->CurrentPageId())->Reload();
        EXPECT_TRUE(WaitForDrawn([&](const PrinterSettings& r) { return r == stored; })) << c.name;
    }
}

TEST_F(ConfigPreviewTest, TheIndentMovesTheDrawnTitleByEightDotsAMillimetre) {
    ASSERT_TRUE(Connect());
    Select(IDS_TEXT_POSITION);
    const int before = TitleLeft();
    Control<QLineEdit>(*window, kPageTextPosition, "indentEdit")->setText("7");
    ASSERT_TRUE(WaitForDrawn([](const PrinterSettings& r) { return r.leftIndent == 7; }));
    EXPECT_EQ(TitleLeft(), before + 7 * paper::kDotsPerMm);
    // A number the field cannot take draws the printer's value until it is corrected.
    Control<QLineEdit>(*window, kPageTextPosition, "indentEdit")->setText("300");
    ASSERT_TRUE(WaitForDrawn([](const PrinterSettings& r) { return r.leftIndent == 0; }));
    EXPECT_EQ(TitleLeft(), before);
}

TEST_F(ConfigPreviewTest, ThePaperScrollsToWhatThePageChanges) {
    ASSERT_TRUE(Connect());
    auto* paperScroll = Find<QScrollArea>(window->Preview(), "receiptScroll")->verticalScrollBar();
    Select(IDS_BARCODE);
    const int barcode = paperScroll->value();
    EXPECT_GT(barcode, 0);
    Select(IDS_FONT);
    EXPECT_EQ(paperScroll->value(), 0) << "the first block, in the printer's font, is at the top";
    // A redraw keeps the part in sight.
    Select(IDS_BARCODE);
    Control<QLineEdit>(*window, kPageBarcode, "heightEdit")->setText("120");
    ASSERT_TRUE(WaitForDrawn([](const PrinterSettings& r) { return r.barcodeHeight == 120; }));
    EXPECT_EQ(paperScroll->value(), barcode);
}

// The date is the minute of each composition; the rest must be the same bytes.
std::string WithoutDate(const Bytes& bytes) {
    static const std::regex date(R"(\d{4}-\d\d-\d\d \d\d:\d\d)");
    return std::regex_replace(std::string(bytes.begin(), bytes.end()), date, "DATE");
}

TEST_F(ConfigPreviewTest, TheTestPrintSettlesTheEditsAndSendsWhatThePreviewDraws) {
    std::mutex mutex;
    Bytes heard;
    sim.SetPrintListener([&](std::span<const std::uint8_t> bytes, const CSimProtocol::Record&) {
        std::lock_guard lock(mutex);
        heard.insert(heard.end(), bytes.begin(), bytes.end());
    });
    ASSERT_TRUE(Connect());
    Select(IDS_TEXT_POSITION);
    Control<QLineEdit>(*window, kPageTextPosition, "indentEdit")->setText("4");
    notifier.LineUp({Answer::Save});
    TestPrintButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Status() == Text(IDS_TEST_PRINT_SENT); }, 5000))
        << Status().toStdString();
    EXPECT_EQ(notifier.Questions().size(), 1u);
    EXPECT_EQ(Printer().leftIndent, 4) << "saved before printing";
    EXPECT_EQ(Drawn(), Printer());
    const Bytes receipt = WindowTestPrint(Printer());
    ASSERT_TRUE(QTest::qWaitFor(
        [&] {
            std::lock_guard lock(mutex);
            return heard.size() >= receipt.size();
        },
        3000));
    std::lock_guard lock(mutex);
    EXPECT_EQ(
        WithoutDate(Bytes(heard.end() - static_cast<std::ptrdiff_t>(receipt.size()), heard.end())),
        WithoutDate(receipt));
    EXPECT_TRUE(TestPrintButton()->isEnabled());
}

}  // namespace
