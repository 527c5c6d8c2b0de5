// Load speed: a 64 KiB font and a 64 KiB program into the simulator at real line rates, against
// the wire-time limit of the conversation (every byte of every request and reply at 10 bits,
// since it is strictly one turn at a time), and the loader's own cost per round trip.
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "CLoadLink.h"
#include "CPrinterSim.h"

namespace {

using Clock = std::chrono::steady_clock;
using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kImageSize = 64 * 1024;

class EndWaiter final : public ILoadOwner {
public:
    void OnLoadMessage(LoadMessage message) override {
        if (EndsLoad(message)) {
            std::lock_guard lock(m_mutex);
            m_ending = message;
            m_done.notify_all();
        }
    }
    void OnRecordTaken() override {}
    LoadMessage Wait() {
        std::unique_lock lock(m_mutex);
        m_done.wait(lock, [this] { return m_ending != 0; });
        return static_cast<LoadMessage>(m_ending);
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_done;
    unsigned m_ending = 0;
};

DataFile MakeFile(bool program) {
    DataFile file;
    file.kind = program ? kProgramMagic : kFontMagic;
    file.model = program ? "TQ-20 A0" : "";
    std::uint32_t noise = 12345;
    auto next = [&noise] {
        noise = noise * 1103515245u + 12345u;
        return static_cast<std::uint8_t>(noise >> 16);
    };
    if (!program) {
        file.payload.resize(kImageSize);
        for (auto& b : file.payload) {
            b = next();
        }
        return file;
    }
    for (std::uint32_t address = 0; address < kImageSize; address += kMaxBlockLength) {
        const Bytes header{static_cast<std::uint8_t>(address & 0xFF),
                           static_cast<std::uint8_t>(address >> 8),
                           0,
                           0,
                           1,
                           0x11,
                           0x22,
                           0};
        file.payload.insert(file.payload.end(), header.begin(), header.end());
        for (int i = 0; i < kMaxBlockLength; ++i) {
            file.payload.push_back(next());
        }
    }
    return file;
}

struct Figures {
    double seconds;
    double wireSeconds;
    std::size_t roundTrips;
};

Figures Load(bool program, unsigned baud, bool pace) {
    CPrinterSim sim({.pace = pace});
    sim.WithProtocol([baud](CSimProtocol& p) { p.SetLine({.baudRate = baud, .flowControl = 0}); });
    if (!sim.Start()) {
        std::fprintf(stderr, "no pseudo-terminal\n");
        std::exit(1);
    }
    CLoadData data(MakeFile(program));
    EndWaiter owner;
    ChannelConfig line;
    line.portName = sim.DevicePath();
    line.baudRate = baud;
    CLoadLink link(owner, data, line);
    const auto start = Clock::now();
    program ? link.StartProgramLoad() : link.StartFontLoad();
    const LoadMessage ending = owner.Wait();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (ending != LM_DONE) {
        std::fprintf(stderr, "load ended with %u\n", ending);
        std::exit(1);
    }
    sim.WaitForCommands(sim.Commands().size(), std::chrono::milliseconds(100));
    const std::size_t bytes = sim.ReceivedBytes().size() + sim.BytesSent();
    return {seconds, static_cast<double>(bytes) * 10.0 / baud, sim.Commands().size()};
}

}  // namespace

int main(int argc, char** argv) {
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    std::printf("%-8s %-7s %10s %10s %8s\n", "file", "bit/s", "measured", "wire", "ratio");
    for (unsigned baud : {115200u, 9600u}) {
        if (quick && baud != 115200u) {
            continue;
        }
        for (bool program : {false, true}) {
            const Figures f = Load(program, baud, true);
            std::printf("%-8s %-7u %9.2fs %9.2fs %8.4f\n", program ? "program" : "font", baud,
                        f.seconds, f.wireSeconds, f.seconds / f.wireSeconds);
        }
    }
    for (bool program : {false, true}) {
        const Figures f = Load(program, 115200, false);
        std::printf("unpaced %-8s %zu round trips, %.1f us each\n", program ? "program" : "font",
                    f.roundTrips, f.seconds * 1e6 / static_cast<double>(f.roundTrips));
    }
    return 0;
}
