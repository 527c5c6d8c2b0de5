#pragma once

#include <algorithm>

// The paper and the head, in one place. Every length on a receipt is counted in dots of the
// head; the settings record counts millimetres, which become dots here.
namespace paper {

inline constexpr int kPaperMm = 58;
inline constexpr int kDotsPerMm = 8;
inline constexpr int kHeadDots = 384;  // 48 mm: the head is narrower than the paper
inline constexpr int kFactoryFieldMm = 48;
// The head sits in the middle of the paper; the picture of the paper shows both margins.
inline constexpr int kPaperDots = kPaperMm * kDotsPerMm;
inline constexpr int kMarginDots = (kPaperDots - kHeadDots) / 2;
// White rows under each line of text, so that lines of one size do not touch.
inline constexpr int kLineGapDots = 6;
// A character cell of the font modes' sizes: low/narrow, normal, double, quadruple.
inline constexpr int kCharWidthDots[] = {6, 12, 24, 48};
inline constexpr int kCharHeightDots[] = {12, 24, 48, 96};
inline constexpr int kNormalCharWidthDots = kCharWidthDots[1];
inline constexpr int kNormalCharHeightDots = kCharHeightDots[1];

// The longest receipt drawn, 2 m: what comes after is cut off.
inline constexpr int kMaxReceiptDots = 2000 * kDotsPerMm;

constexpr int DotsOfMm(int mm) {
    return mm * kDotsPerMm;
}

// The print field on the head: from the left indent, as wide as set (0: the factory field),
// never past the head.
struct Field {
    int left = 0;
    int right = 0;
    constexpr int Width() const { return right - left; }
};

constexpr Field PrintField(int leftIndentMm, int widthMm) {
    const int left = std::min(DotsOfMm(leftIndentMm), kHeadDots);
    const int width = widthMm == 0 ? kFactoryFieldMm : widthMm;
    return {left, std::min(left + DotsOfMm(width), kHeadDots)};
}

}  // namespace paper
