// Line search time: tq20 detect's search against the simulator started at every line it can
// have (every speed, flow control, parity and stop bits), pacing every byte at the line rate.
// Prints the worst case, which is the time a technician waits at most for a printer that
// answers, and the time a silent line takes.
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <numeric>
#include <string>
#include <vector>

#include "CLineDetector.h"
#include "CPrinterSim.h"
#include "LineCandidates.h"
#include "SimLine.h"

namespace {

struct Measured {
    SimLine line;
    double seconds = 0;
    std::size_t tries = 0;
    bool found = false;
};

std::string Describe(const SimLine& line) {
    SerialLineRequest request;
    request.baudRate = line.baudRate;
    request.parity = static_cast<Parity>(line.parity);
    request.stopBits = line.twoStopBits ? StopBits::Two : StopBits::One;
    return std::to_string(line.baudRate) + " " + FramingName(request) + " " +
           FlowName(static_cast<FlowControl>(line.flowControl));
}

Measured Search(const SimLine& line, bool silent) {
    CPrinterSim sim(SimOptions{.pace = true});
    sim.WithProtocol([&](CSimProtocol& protocol) { protocol.SetLine(line); });
    if (silent) {
        sim.InjectFault({.kind = SimFaultKind::Silence});
    }
    Measured measured{line};
    if (!sim.Start()) {
        return measured;
    }
    CLineDetector detector(sim.DevicePath());
    const LineDetection found = detector.Run();
    measured.seconds = static_cast<double>(found.elapsed.count()) / 1000.0;
    measured.tries = found.tries.size();
    // The simulator keeps its line in the record's codes, which the kinds follow in order.
    const SimLine at{found.line.baudRate, static_cast<int>(found.line.parity),
                     found.line.stopBits == StopBits::Two,
                     static_cast<int>(found.line.flowControl)};
    measured.found = found.status == LineDetection::Status::Found && at == line;
    return measured;
}

// A pseudo-terminal with nobody on the other end.
double SearchSilentLine() {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        return 0;
    }
    CLineDetector detector(::ptsname(master));
    const LineDetection found = detector.Run();
    ::close(master);
    return static_cast<double>(found.elapsed.count()) / 1000.0;
}

std::vector<SimLine> EveryLine(bool quick) {
    std::vector<SimLine> lines;
    for (unsigned speed : kSimBaudRates) {
        for (int flow = 0; flow <= 3; ++flow) {
            for (int parity = 0; parity <= (quick ? 0 : 2); ++parity) {
                for (bool two : {false, true}) {
                    lines.push_back({speed, parity, two, flow});
                }
            }
        }
    }
    return lines;
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    std::vector<Measured> all;
    for (const SimLine& line : EveryLine(quick)) {
        all.push_back(Search(line, false));
        if (!all.back().found) {
            std::printf("NOT FOUND: %s\n", Describe(line).c_str());
        }
    }
    std::sort(all.begin(), all.end(),
              [](const Measured& a, const Measured& b) { return a.seconds > b.seconds; });
    const double total = std::accumulate(
        all.begin(), all.end(), 0.0, [](double sum, const Measured& m) { return sum + m.seconds; });
    const auto missed =
        std::count_if(all.begin(), all.end(), [](const Measured& m) { return !m.found; });
    std::printf("line search against the simulator at %zu line settings (paced), %ld not found\n",
                all.size(), static_cast<long>(missed));
    std::printf("  worst  %.2f s  (%s, %zu tries)\n", all.front().seconds,
                Describe(all.front().line).c_str(), all.front().tries);
    for (std::size_t i = 1; i < std::min<std::size_t>(5, all.size()); ++i) {
        std::printf("         %.2f s  (%s, %zu tries)\n", all[i].seconds,
                    Describe(all[i].line).c_str(), all[i].tries);
    }
    std::printf("  mean   %.2f s\n", total / static_cast<double>(all.size()));
    std::printf("  median %.2f s\n", all[all.size() / 2].seconds);
    std::printf("  best   %.2f s  (%s)\n", all.back().seconds, Describe(all.back().line).c_str());
    const Measured deaf = Search({}, true);
    std::printf("a printer that sends noise at wrong speeds but never answers: %.2f s, %zu tries\n",
                deaf.seconds, deaf.tries);
    const double silent = SearchSilentLine();
    std::printf("a line where nothing answers at all: %.2f s\n", silent);
    return missed == 0 ? 0 : 1;
}
