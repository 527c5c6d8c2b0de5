// Provisioning at the speed of the wire, many printers at once: four printers provisioned by one
// "tq20 provision run" (firmware, settings, read-back, test print) take about as long as one.
// The printers are tq20-sim programs that take a real line's time for every byte.
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr int kBlocks = 32;  // an 8 KiB program, in 256-byte records
constexpr double kTargetRatio = 1.10;

// A program file as its producers write it: magic, model, progress value, then records of
// three address bytes, two length bytes, two check bytes and one spare before the data.
std::string ProgramFile() {
    std::string bytes = std::string("MyBIN") + "TQ-20 A0" + '\0' + '\0' + '\1';
    for (int block = 0; block < kBlocks; ++block) {
        const int address = block * 256;
        bytes += {static_cast<char>(address & 0xFF),
                  static_cast<char>(address >> 8),
                  '\0',
                  '\0',
                  '\1',
                  '\0',
                  '\0',
                  '\0'};
        for (int i = 0; i < 256; ++i) {
            bytes += static_cast<char>((i * 7 + block) & 0xFF);
        }
    }
    return bytes;
}

pid_t StartPrinter(const std::string& link, const std::string& serial) {
    const pid_t child = ::fork();
    if (child == 0) {
        std::freopen("/dev/null", "w", stdout);
        ::execl(TQ20_SIM, TQ20_SIM, "--link", link.c_str(), "--pace", "--serial", serial.c_str(),
                "--loaded-version", "1.08", static_cast<char*>(nullptr));
        ::_exit(127);
    }
    for (int i = 0; i < 500 && !fs::is_symlink(link); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return child;
}

// Seconds for one run over `count` fresh printers; negative when the run failed.
double Provision(const fs::path& folder, int count) {
    std::vector<pid_t> printers;
    std::string ports;
    for (int i = 0; i < count; ++i) {
        const std::string link =
            (folder / ("printer" + std::to_string(count) + "-" + std::to_string(i))).string();
        printers.push_back(
            StartPrinter(link, "SN-" + std::to_string(count) + "-" + std::to_string(i)));
        ports += " --port " + link;
    }
    const std::string command = std::string(TQ20_CLI) + " provision run " +
                                (folder / "profile.json").string() + ports + " --record " +
                                (folder / "records.jsonl").string() + " >/dev/null 2>&1";
    const auto start = Clock::now();
    const int status = std::system(command.c_str());
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    for (const pid_t printer : printers) {
        ::kill(printer, SIGTERM);
        ::waitpid(printer, nullptr, 0);
    }
    return status == 0 ? seconds : -1;
}

}  // namespace

int main() {
    const fs::path folder =
        fs::temp_directory_path() / ("tq20-bench-provision-" + std::to_string(::getpid()));
    fs::create_directories(folder);
    std::ofstream(folder / "tq20-1.08.bin", std::ios::binary) << ProgramFile();
    std::ofstream(folder / "profile.json")
        << R"({"model": "TQ-20 A0", "firmware": "tq20-1.08.bin", "firmwareVersion": "1.08",
               "settings": ["contrast=12", "alignment=center"], "testPrint": true})";
    const double one = Provision(folder, 1);
    const double four = Provision(folder, 4);
    fs::remove_all(folder);
    if (one <= 0 || four <= 0) {
        std::printf("provisioning failed (one printer %.2f s, four %.2f s)\n", one, four);
        return 1;
    }
    const double ratio = four / one;
    std::printf(
        "provisioning, paced printers: one %.2f s, four at once %.2f s, ratio %.2f "
        "(target <= %.2f): %s\n",
        one, four, ratio, kTargetRatio, ratio <= kTargetRatio ? "met" : "NOT met");
    return 0;
}
