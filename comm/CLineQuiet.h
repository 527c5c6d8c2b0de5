#pragma once

#include <chrono>
#include <optional>

// Keeps one conversation apart from the tail of an earlier one. A printer that was cut off in
// the middle of a reply (a killed program, a moved cable) goes on sending it; bytes that arrive
// close together belong to one reply. So a request goes out only after the line has been quiet
// for a while, and a complete reply is believed only once the line stays quiet after it.
//
// The quiet time follows the line: a few character times at its speed, never less than the
// scheduler's jitter, and twice the longest gap seen inside a reply (a printer that trickles
// its replies), up to a limit.
class CLineQuiet {
public:
    using Clock = std::chrono::steady_clock;

    // baudRate 0: a network line, where only the floor applies. Quiet is counted from now.
    explicit CLineQuiet(unsigned baudRate, Clock::time_point now = Clock::now());

    // Bytes arrived.
    void Heard(Clock::time_point when);
    // A request went out: the wait for its first byte is the printer thinking, not a gap.
    void Spoke();
    Clock::duration QuietTime() const;
    // When the line will have been quiet long enough, if nothing more arrives.
    Clock::time_point QuietFrom() const { return m_lastArrival + QuietTime(); }

private:
    Clock::duration m_characters;
    Clock::time_point m_lastArrival;
    bool m_withinReply = false;
    Clock::duration m_longestGap{};
};
