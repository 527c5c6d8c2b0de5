#pragma once

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

// The longest receipt drawn, 2 m: what comes after is cut off.
inline constexpr int kMaxReceiptDots = 2000 * kDotsPerMm;

constexpr int DotsOfMm(int mm) {
    return mm * kDotsPerMm;
}

}  // namespace paper
