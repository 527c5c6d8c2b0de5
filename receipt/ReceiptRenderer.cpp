#include "ReceiptRenderer.h"

#include <algorithm>

#include "BarcodePrint.h"
#include "PaperFigures.h"

namespace {

int Word(std::span<const std::uint8_t> params) {
    return params[0] | (params[1] << 8);
}

}  // namespace

CReceiptRenderer::CReceiptRenderer(const PrinterSettings& record)
    : m_record(record),
      m_state(PrintState::FromRecord(record)),
      m_raster(paper::kHeadDots, paper::kMaxReceiptDots) {}

void CReceiptRenderer::Print(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        PrintCommand command{};
        const CommandMatch match = MatchPrintCommand(bytes, command);
        if (match == CommandMatch::Truncated) {
            return;
        }
        if (match == CommandMatch::Found) {
            Apply(command);
            bytes = bytes.subspan(command.length);
            continue;
        }
        Character(bytes[0]);
        bytes = bytes.subspan(1);
    }
}

Raster CReceiptRenderer::Finish() {
    if (!m_line.empty()) {
        PrintLine();
    }
    return m_raster;
}

void CReceiptRenderer::Apply(const PrintCommand& command) {
    switch (command.action) {
        case PrintAction::LineFeed:
            LineFeed();
            break;
        case PrintAction::FeedDots:
            if (!m_line.empty()) {
                PrintLine();
            }
            m_raster.AddRows(command.params[0]);
            break;
        case PrintAction::BitImage: {
            const int perColumn = (command.params[0] & 0x20) != 0 ? 3 : 1;
            const bool doubleWidth = (command.params[0] & 0x01) == 0;
            Add(BitImageCell({command.data.begin(), command.data.end()}, perColumn, doubleWidth));
            break;
        }
        case PrintAction::Barcode:
            if (!m_line.empty()) {
                PrintLine();
            }
            PrintBarcode(command.params[0], command.data, m_state, m_raster);
            break;
        case PrintAction::Initialise:
            m_state = PrintState::FromRecord(m_record);
            [[fallthrough]];
        case PrintAction::Cancel:
            m_line.clear();
            m_lineWidth = 0;
            break;
        default:
            ApplySetting(command.action, command.params);
    }
}

void CReceiptRenderer::ApplySetting(PrintAction action, std::span<const std::uint8_t> params) {
    const std::uint8_t n = params.empty() ? 0 : params[0];
    switch (action) {
        case PrintAction::CharacterSize:
            m_state.charWidth = paper::kNormalCharWidthDots * (((n >> 4) & 0x07) + 1);
            m_state.charHeight = paper::kNormalCharHeightDots * ((n & 0x07) + 1);
            break;
        case PrintAction::FontMode:
            m_state.SetFontMode(n);
            break;
        case PrintAction::Bold:
            m_state.bold = (n & 0x01) != 0;
            break;
        case PrintAction::Reverse:
            m_state.negative = (n & 0x01) != 0;
            break;
        case PrintAction::Underline:
            m_state.underline = std::min(n & 0x03, 2);
            break;
        case PrintAction::Alignment:
            m_state.alignment = n;
            break;
        case PrintAction::LeftIndent:
            m_state.leftIndentMm = Word(params);
            break;
        case PrintAction::FieldWidth:
            m_state.fieldWidthMm = Word(params);
            break;
        case PrintAction::Tabulation:
            m_state.tabStep = n;
            break;
        case PrintAction::BarcodeHri:
            m_state.barcodeHri = n;
            break;
        case PrintAction::BarcodeHeight:
            m_state.barcodeHeight = n;
            break;
        case PrintAction::BarcodeWidth:
            m_state.barcodeModule = std::max(1, int{n});
            break;
        case PrintAction::BarcodeQuietZone:
            m_state.barcodeQuietZone = n;
            break;
        case PrintAction::BarcodeLeftIndent:
            m_state.barcodeLeftIndentMm = n;
            break;
        case PrintAction::Contrast:
            m_state.contrast = n;
            break;
        default:
            break;
    }
}

void CReceiptRenderer::Character(std::uint8_t byte) {
    if (byte == '\r') {
        return;
    }
    if (byte == '\t') {
        Tab();
        return;
    }
    Add(CharacterCell(byte, m_state));
}

void CReceiptRenderer::Tab() {
    const int step = m_state.tabStep * m_state.charWidth;
    if (step == 0) {
        return;
    }
    const int next = (m_lineWidth / step + 1) * step;
    if (next <= m_state.FieldRight() - m_state.FieldLeft()) {
        Add(Cell(next - m_lineWidth, 0));
    }
}

void CReceiptRenderer::Add(Cell cell) {
    if (!m_line.empty() && m_lineWidth + cell.width > m_state.FieldRight() - m_state.FieldLeft()) {
        PrintLine();
    }
    m_lineWidth += cell.width;
    m_line.push_back(std::move(cell));
}

void CReceiptRenderer::PrintLine() {
    int height = 0;
    for (const Cell& cell : m_line) {
        height = std::max(height, cell.height);
    }
    const int left = m_state.FieldLeft();
    const int room = m_state.FieldRight() - left - m_lineWidth;
    int x = left;
    if (m_state.alignment == 2) {
        x += std::max(room, 0);
    } else if (m_state.alignment == 3) {
        x += std::max(room / 2, 0);
    }
    const int top = m_raster.Height();
    m_raster.AddRows(height + paper::kLineGapDots);
    for (const Cell& cell : m_line) {
        const int cellTop = top + height - cell.height;  // characters share their bottom line
        for (int y = 0; y < cell.height; ++y) {
            for (int cx = 0; cx < cell.width && x + cx < paper::kHeadDots; ++cx) {
                if (cell.Ink(cx, y)) {
                    m_raster.SetInk(x + cx, cellTop + y, true);
                }
            }
        }
        x += cell.width;
    }
    m_line.clear();
    m_lineWidth = 0;
}

void CReceiptRenderer::LineFeed() {
    if (m_line.empty()) {
        m_raster.AddRows(m_state.charHeight + paper::kLineGapDots);
        return;
    }
    PrintLine();
}

Raster RenderReceipt(std::span<const std::uint8_t> bytes, const PrinterSettings& record) {
    CReceiptRenderer renderer(record);
    renderer.Print(bytes);
    return renderer.Finish();
}
