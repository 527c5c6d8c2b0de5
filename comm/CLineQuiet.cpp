#include "CLineQuiet.h"

#include <algorithm>

namespace {

// Below this the pause would be lost in the time it takes to schedule a thread.
constexpr std::chrono::milliseconds kQuietFloor{20};
// However slowly a printer trickles, a conversation does not wait longer than this.
constexpr std::chrono::milliseconds kQuietCeiling{500};
// A longer silence ends a reply rather than interrupting it.
constexpr std::chrono::milliseconds kLongestGapInReply{250};
// Character times of silence that separate two replies on a line of known speed.
constexpr int kQuietCharacters = 4;
// Start, 8 data bits, parity and two stop bits: the longest character of these lines.
constexpr int kBitsPerCharacter = 12;

}  // namespace

CLineQuiet::CLineQuiet(unsigned baudRate, Clock::time_point now)
    : m_characters(baudRate == 0
                       ? Clock::duration::zero()
                       : std::chrono::duration_cast<Clock::duration>(std::chrono::nanoseconds(
                             kQuietCharacters * kBitsPerCharacter * 1'000'000'000LL / baudRate))),
      m_lastArrival(now) {}

void CLineQuiet::Heard(Clock::time_point when) {
    const Clock::duration gap = when - m_lastArrival;
    if (m_withinReply && gap <= kLongestGapInReply) {
        m_longestGap = std::max(m_longestGap, gap);
    }
    m_withinReply = true;
    m_lastArrival = std::max(m_lastArrival, when);
}

void CLineQuiet::Spoke() {
    m_withinReply = false;
}

CLineQuiet::Clock::duration CLineQuiet::QuietTime() const {
    const Clock::duration wanted =
        std::max({Clock::duration(kQuietFloor), m_characters, 2 * m_longestGap});
    return std::min(wanted, Clock::duration(kQuietCeiling));
}
