// Load speed through the kernel's own drivers: a 64 KiB font and a 64 KiB program loaded by
// tq20 in the rig's QEMU guest, over the emulated FTDI adapter with and without the
// low-latency request and over the 16550A UART, into a simulator that paces every byte at the
// line rate. Figures against the wire-time limit, as bench_load prints them.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "CPrinterSim.h"
#include "CRigMachine.h"
#include "DataFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::size_t kImageSize = 64 * 1024;
constexpr unsigned kBaud = 115200;

Bytes Noise(std::size_t count, std::uint32_t seed) {
    Bytes bytes(count);
    for (auto& b : bytes) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(seed >> 16);
    }
    return bytes;
}

Bytes FontFile() {
    Bytes file{'M', 'y', 'F', 'N', 'T', 0};
    const Bytes image = Noise(kImageSize, 1);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

Bytes ProgramFile() {
    const std::string model = "TQ-20 A0";
    Bytes file{'M', 'y', 'B', 'I', 'N'};
    file.insert(file.end(), model.begin(), model.end());
    file.insert(file.end(), {0, 0, 1});
    for (std::uint32_t address = 0; address < kImageSize; address += kMaxBlockLength) {
        file.insert(file.end(), {static_cast<std::uint8_t>(address & 0xFF),
                                 static_cast<std::uint8_t>(address >> 8), 0, 0, 1, 0, 0, 0});
        const Bytes data = Noise(kMaxBlockLength, address + 2);
        file.insert(file.end(), data.begin(), data.end());
    }
    return file;
}

Bytes ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

struct Run {
    const char* line;
    const char* device;
    const char* latency;
    const char* preload;
    CPrinterSim* sim;
};

// The conversation's own time: from the printer's first request to its last.
void Measure(CRigMachine& machine, const Run& run, const char* file) {
    CPrinterSim& sim = *run.sim;
    sim.ClearLog();
    const std::string command =
        std::string("run ") + run.preload + "tq20 load --port " + run.device + " /rig/" + file;
    const auto result = machine.Shell().Run(command, std::chrono::seconds(300));
    if (result.exitCode != 0) {
        std::fprintf(stderr, "%s failed (%d):\n%s", command.c_str(), result.exitCode,
                     result.output.c_str());
        std::exit(1);
    }
    sim.WaitForCommands(sim.Commands().size() + 1, std::chrono::milliseconds(200));
    const auto commands = sim.Commands();
    if (commands.empty()) {
        std::fprintf(stderr, "the printer on the %s heard nothing\n", run.line);
        std::exit(1);
    }
    const double seconds =
        std::chrono::duration<double>(commands.back().when - commands.front().when).count();
    const double wire =
        static_cast<double>(sim.ReceivedBytes().size() + sim.BytesSent()) * 10.0 / kBaud;
    std::printf("%-5s %-8s %-11s %9.2fs %9.2fs %8.3f %9.2fs\n", run.line, run.latency, file,
                seconds, wire, seconds / wire, result.seconds);
}

}  // namespace

int main() {
    const std::string build =
        std::string(TQ20_RIG_SCRIPT) + " " + TQ20_RIG_DIR + " " + TQ20_CLI + " >&2";
    if (std::system(build.c_str()) != 0) {
        std::fprintf(stderr, "cannot build the guest\n");
        return 1;
    }
    CPrinterSim uart({.pace = true});
    CPrinterSim usb({.pace = true});
    for (CPrinterSim* sim : {&uart, &usb}) {
        sim->WithProtocol(
            [](CSimProtocol& p) { p.SetLine({.baudRate = kBaud, .flowControl = 0}); });
        if (!sim->Start()) {
            std::fprintf(stderr, "no pseudo-terminal\n");
            return 1;
        }
    }
    CRigMachine machine({.rigDir = TQ20_RIG_DIR,
                         .uartDevice = uart.DevicePath(),
                         .usbDevice = usb.DevicePath(),
                         .files = {{"font.fnt", FontFile()},
                                   {"program.bin", ProgramFile()},
                                   {"no-low-latency.so", ReadFile(TQ20_NO_LOW_LATENCY)}}});
    if (!machine.Start()) {
        std::fprintf(stderr, "%s\n", machine.Error().c_str());
        return 1;
    }
    // A shim the guest's loader refuses would leave both runs with the request.
    const auto preload = machine.Shell().Run(
        "env LD_DEBUG=libs LD_PRELOAD=/rig/no-low-latency.so tq20 --help 2>&1 | "
        "grep 'calling init: /rig/no-low-latency.so'");
    if (preload.exitCode != 0) {
        std::fprintf(stderr, "the shim does not load in the guest:\n%s", preload.output.c_str());
        return 1;
    }
    std::printf("guest up in %.1f s (%s); 64 KiB at %u bit/s\n", machine.BootSeconds(),
                machine.Accelerator().c_str(), kBaud);
    std::printf("%-5s %-8s %-11s %10s %10s %8s %10s\n", "line", "latency", "file", "measured",
                "wire", "ratio", "command");
    const Run runs[] = {
        {"USB", "/dev/ttyUSB0", "low", "", &usb},
        {"USB", "/dev/ttyUSB0", "default", "env LD_PRELOAD=/rig/no-low-latency.so ", &usb},
        {"UART", "/dev/ttyS0", "low", "", &uart},
    };
    for (const Run& run : runs) {
        for (const char* file : {"font.fnt", "program.bin"}) {
            Measure(machine, run, file);
        }
    }
    return 0;
}
