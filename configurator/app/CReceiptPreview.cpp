#include "CReceiptPreview.h"

#include <QEvent>
#include <QLabel>
#include <QPixmap>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>
#include <span>

#include "CommandTable.h"
#include "ConfiguratorStrings.h"
#include "PaperFigures.h"
#include "ReceiptPng.h"
#include "ReceiptRenderer.h"
#include "WindowTestPrint.h"

namespace {

// Wide enough to read a normal character; the window may give it more or, on a small screen,
// less.
constexpr int kPreferredWidth = 300;
constexpr int kLeastWidth = 120;

QImage PaperImage(const Raster& raster, std::uint8_t contrast) {
    QImage image(paper::kPaperDots, std::max(1, raster.Height()), QImage::Format_Grayscale8);
    image.fill(Qt::white);
    const std::uint8_t ink = InkGrey(contrast);
    for (int y = 0; y < raster.Height(); ++y) {
        std::uint8_t* row = image.scanLine(y);
        for (int x = 0; x < raster.Width(); ++x) {
            if (raster.Ink(x, y)) {
                row[x + paper::kMarginDots] = ink;
            }
        }
    }
    return image;
}

}  // namespace

CReceiptPreview::CReceiptPreview(QWidget* parent)
    : QGroupBox(QString::fromUtf8(ConfigString(IDS_PREVIEW)), parent),
      m_scroll(new QScrollArea(this)),
      m_paper(new QLabel) {
    setObjectName("receiptPreview");
    m_scroll->setObjectName("receiptScroll");
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_scroll->setWidget(m_paper);
    m_scroll->setMinimumWidth(kLeastWidth);
    m_scroll->viewport()->installEventFilter(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_scroll);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

QSize CReceiptPreview::sizeHint() const {
    return {kPreferredWidth, QGroupBox::sizeHint().height()};
}

void CReceiptPreview::Show(const PrinterSettings& record) {
    m_record = record;
    m_bytes = WindowTestPrint(record);
    m_receipt = PaperImage(RenderReceipt(m_bytes, record), record.contrast);
    FitToWidth();
    if (m_commandShown >= 0) {
        ScrollToCommand(m_commandShown);
    }
}

void CReceiptPreview::ScrollToCommand(int commandId) {
    m_commandShown = commandId;
    const CommandEntry* command = FindCommand(commandId);
    const auto prefix = std::span(command->prefix).first(command->prefixLen);
    const auto found = std::search(m_bytes.begin(), m_bytes.end(), prefix.begin(), prefix.end());
    const std::span before(m_bytes.begin(), found);
    ScrollToRow(found == m_bytes.end() ? 0 : RenderReceipt(before, m_record).Height());
}

// A line of text above the row stays in sight.
void CReceiptPreview::ScrollToRow(int row) {
    if (m_receipt.isNull()) {
        return;
    }
    const double scale = double(m_paper->width()) / m_receipt.width();
    const int above = 2 * paper::kNormalCharHeightDots;
    m_scroll->verticalScrollBar()->setValue(qRound(std::max(0, row - above) * scale));
}

bool CReceiptPreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_scroll->viewport() && event->type() == QEvent::Resize) {
        FitToWidth();
    }
    return QGroupBox::eventFilter(watched, event);
}

// Scaled from the dots straight to the screen's pixels: never a scaled copy of a scaled copy.
void CReceiptPreview::FitToWidth() {
    if (m_receipt.isNull()) {
        return;
    }
    const qreal ratio = devicePixelRatioF();
    const int width = m_scroll->viewport()->width();
    QPixmap pixmap = QPixmap::fromImage(
        m_receipt.scaledToWidth(std::max(1, qRound(width * ratio)), Qt::SmoothTransformation));
    pixmap.setDevicePixelRatio(ratio);
    m_paper->setPixmap(pixmap);
    m_paper->resize(pixmap.deviceIndependentSize().toSize());
}
