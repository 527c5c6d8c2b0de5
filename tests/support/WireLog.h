#pragma once

// What the printer heard, as the wire tests compare it: the commands in order and the least pause
// before each.
#include <QTest>
#include <chrono>
#include <cstdint>
#include <iomanip>
#include <sstream>
#include <string>
#include <vector>

#include "CPrinterSim.h"

using Milliseconds = std::chrono::milliseconds;

// Pauses are recorded in whole steps. The simulator stamps a command when its reader gets to
// it, which can make a pause look shorter than it was by a little.
constexpr Milliseconds kPauseStep{100};
constexpr Milliseconds kStampSlack{50};

struct WireLine {
    Milliseconds pause;  // the least pause before the command
    std::vector<std::uint8_t> bytes;
};

inline std::vector<WireLine> Heard(const std::vector<SimCommandRecord>& commands) {
    std::vector<WireLine> lines;
    for (std::size_t i = 0; i < commands.size(); ++i) {
        const auto gap =
            i == 0
                ? Milliseconds{0}
                : std::chrono::duration_cast<Milliseconds>(commands[i].when - commands[i - 1].when);
        lines.push_back({(gap + kStampSlack) / kPauseStep * kPauseStep, commands[i].bytes});
    }
    return lines;
}

inline std::string Format(const std::vector<WireLine>& lines) {
    std::ostringstream out;
    for (const WireLine& line : lines) {
        out << '+' << line.pause.count() / 1000 << '.' << std::setw(3) << std::setfill('0')
            << line.pause.count() % 1000;
        for (std::uint8_t byte : line.bytes) {
            out << ' ' << std::hex << std::uppercase << std::setw(2) << std::setfill('0')
                << static_cast<int>(byte) << std::dec;
        }
        out << '\n';
    }
    return out.str();
}

// Lets the window's timers run until the printer has heard nothing for longer than any pause
// inside a conversation (the factory restore's 900 ms), or 15 s have passed.
inline void WaitUntilQuiet(CPrinterSim& sim) {
    constexpr int kQuietPolls = 12;
    std::size_t seen = sim.Commands().size();
    for (int i = 0, quiet = 0; i < 150 && quiet < kQuietPolls; ++i) {
        QTest::qWait(100);
        const std::size_t now = sim.Commands().size();
        quiet = now == seen ? quiet + 1 : 0;
        seen = now;
    }
}
