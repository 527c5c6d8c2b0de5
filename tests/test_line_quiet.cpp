#include <gtest/gtest.h>

#include "CLineQuiet.h"

namespace {

using namespace std::chrono_literals;
using Clock = CLineQuiet::Clock;

struct QuietCase {
    const char* name;
    unsigned baudRate;
    std::vector<std::chrono::milliseconds> arrivals;  // after the start; a request before each
    bool spokeBetween;                                // a request went out between arrivals
    std::chrono::milliseconds quiet;
};

// The quiet time is the floor on fast lines, a few characters on slow ones, and follows a
// printer that trickles its reply, but not the printer's thinking time nor a long silence.
TEST(LineQuiet, QuietTimeFollowsTheLineAndTheGapsInsideAReply) {
    const QuietCase cases[] = {
        {"fast line, nothing heard", 115200, {}, false, 20ms},
        {"network line", 0, {0ms, 1ms}, false, 20ms},
        {"1200 bit/s: four characters", 1200, {}, false, 40ms},
        {"trickle of 50 ms", 115200, {0ms, 50ms, 100ms}, false, 100ms},
        {"thinking time is no gap", 115200, {0ms, 150ms}, true, 20ms},
        {"a long silence ends a reply", 115200, {0ms, 400ms}, false, 20ms},
        {"a very slow trickle is capped", 115200, {0ms, 250ms, 500ms}, false, 500ms},
    };
    for (const QuietCase& c : cases) {
        SCOPED_TRACE(c.name);
        const auto start = Clock::now();
        CLineQuiet quiet(c.baudRate, start);
        for (const auto at : c.arrivals) {
            if (c.spokeBetween) {
                quiet.Spoke();
            }
            quiet.Heard(start + at);
        }
        EXPECT_EQ(std::chrono::round<std::chrono::milliseconds>(quiet.QuietTime()), c.quiet);
        const auto last = c.arrivals.empty() ? 0ms : c.arrivals.back();
        EXPECT_EQ(quiet.QuietFrom(), start + last + quiet.QuietTime());
    }
}

}  // namespace
