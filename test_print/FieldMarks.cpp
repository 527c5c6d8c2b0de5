#include "FieldMarks.h"

#include "CommandTable.h"
#include "PaperFigures.h"

namespace {

// 8-dot columns, each printed two dots wide: the whole head fits in the count's one byte.
constexpr std::uint8_t kEightDotDoubleWidth = 0x00;
constexpr int kDotsPerColumn = 2;
constexpr std::uint8_t kEdge = 0xFF;
constexpr std::uint8_t kFiveMm = 0x3F;
constexpr std::uint8_t kOneMm = 0x0F;
constexpr std::uint8_t kBase = 0x03;

std::uint8_t Column(int column, int columns) {
    if (column == 0 || column == columns - 1) {
        return kEdge;
    }
    const int dot = column * kDotsPerColumn;
    if (dot % paper::DotsOfMm(5) == 0) {
        return kFiveMm;
    }
    return dot % paper::kDotsPerMm == 0 ? kOneMm : kBase;
}

}  // namespace

std::vector<std::uint8_t> FieldMarks(int leftIndentMm, int fieldWidthMm) {
    const int columns = paper::PrintField(leftIndentMm, fieldWidthMm).Width() / kDotsPerColumn;
    std::vector<std::uint8_t> bytes;
    if (columns <= 0) {
        return bytes;
    }
    AppendCommand(bytes, CMD_BIT_IMAGE, {kEightDotDoubleWidth, static_cast<std::uint8_t>(columns)});
    for (int column = 0; column < columns; ++column) {
        bytes.push_back(Column(column, columns));
    }
    AppendCommand(bytes, CMD_LINE_FEED);
    return bytes;
}
