// The tools against the kernel's own serial drivers: tq20 runs in a QEMU guest on a 16550A UART
// (8250 driver) and on an FTDI adapter (ftdi_sio over xHCI); the printer simulators sit on the
// host terminals QEMU drives with the line settings those drivers program.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <sstream>
#include <thread>

#include "CPrinterSim.h"
#include "CRigMachine.h"
#include "LoaderFiles.h"
#include "LoaderStrings.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kFontSize = 16 * 1024;
constexpr std::size_t kProgramRecords = 32;
constexpr std::uint32_t kFontStart = 0x010000;
constexpr unsigned kSpeeds[] = {115200, 9600};
constexpr double kTickSeconds = 0.01;

struct Line {
    const char* name;
    const char* device;
    CPrinterSim* sim;
};

std::vector<ProgramRecord> ProgramRecords(std::uint8_t seed) {
    std::vector<ProgramRecord> records;
    for (std::size_t i = 0; i < kProgramRecords; ++i) {
        records.push_back({.address = static_cast<std::uint32_t>(i * 256),
                           .data = Pattern(256, static_cast<std::uint8_t>(seed + i))});
    }
    return records;
}

Bytes LongFontImage() {
    return Pattern(64 * 1024, 7);
}

Bytes FontImage(std::uint8_t seed) {
    return Pattern(kFontSize, seed);
}

// One font and one program per line and speed, each with its own bytes, so that every load
// is checked against what it alone wrote.
std::uint8_t Seed(std::size_t line, unsigned baud, bool program) {
    return static_cast<std::uint8_t>(line * 64 + (baud == 9600 ? 32 : 0) + (program ? 16 : 0));
}

std::string FileName(std::size_t line, unsigned baud, bool program) {
    return std::to_string(line) + "-" + std::to_string(baud) + (program ? ".bin" : ".fnt");
}

std::vector<GuestFile> GuestFiles() {
    std::vector<GuestFile> files;
    for (std::size_t line = 0; line < 2; ++line) {
        for (unsigned baud : kSpeeds) {
            files.push_back({FileName(line, baud, false),
                             FontFileBytes("", FontImage(Seed(line, baud, false)))});
            files.push_back(
                {FileName(line, baud, true),
                 ProgramFileBytes("TQ-20 A0", 1, ProgramRecords(Seed(line, baud, true)))});
        }
    }
    files.push_back({"long.fnt", FontFileBytes("", Pattern(64 * 1024, 7))});
    return files;
}

std::size_t Count(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
        ++count;
    }
    return count;
}

// "<user> <system>" clock ticks, as /proc/PID/stat has them.
double TicksToSeconds(const std::string& ticks) {
    std::istringstream in(ticks);
    long user = 0;
    long system = 0;
    in >> user >> system;
    return static_cast<double>(user + system) * kTickSeconds;
}

// The ticks of the "@@CPU <user> <system>" line a finished background command ends with.
double CpuSeconds(const std::string& output) {
    const auto at = output.find("@@CPU ");
    return at == std::string::npos ? std::numeric_limits<double>::quiet_NaN()
                                   : TicksToSeconds(output.substr(at + 6));
}

class RigKernelDrivers : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_uart = std::make_unique<CPrinterSim>();
        s_usb = std::make_unique<CPrinterSim>();
        // A host terminal carries no handshake lines through QEMU, so the printers run
        // without flow control.
        for (CPrinterSim* sim : {s_uart.get(), s_usb.get()}) {
            sim->WithProtocol([](CSimProtocol& p) { p.SetLine({.flowControl = 0}); });
            if (!sim->Start()) {
                s_error = "no pseudo-terminal";
                return;
            }
        }
        s_uart->WithProtocol([](CSimProtocol& p) { p.SetInfoItem(3, "SN-UART-16550"); });
        s_usb->WithProtocol([](CSimProtocol& p) { p.SetInfoItem(3, "SN-USB-FT232"); });
        s_machine =
            std::make_unique<CRigMachine>(CRigMachine::Config{.rigDir = TQ20_RIG_DIR,
                                                              .uartDevice = s_uart->DevicePath(),
                                                              .usbDevice = s_usb->DevicePath(),
                                                              .files = GuestFiles()});
        if (!s_machine->Start()) {
            s_error = s_machine->Error();
            return;
        }
        std::cout << "guest up in " << s_machine->BootSeconds() << " s on "
                  << s_machine->AcceleratorReport() << "\n";
    }

    static void TearDownTestSuite() {
        s_machine.reset();
        s_uart.reset();
        s_usb.reset();
    }

    void SetUp() override { ASSERT_TRUE(s_error.empty()) << s_error; }

    static std::vector<Line> Lines() {
        return {{"UART", "/dev/ttyS0", s_uart.get()}, {"USB", "/dev/ttyUSB0", s_usb.get()}};
    }

    static CGuestShell::Result Run(const std::string& command) {
        return s_machine->Shell().Run(command);
    }

    static void SetSpeed(CPrinterSim& sim, unsigned baud) {
        sim.WithProtocol(
            [baud](CSimProtocol& p) { p.SetLine({.baudRate = baud, .flowControl = 0}); });
    }

    static Bytes Memory(CPrinterSim& sim) {
        Bytes memory;
        sim.WithProtocol([&](CSimProtocol& p) { memory = p.BootArea().Memory(); });
        return memory;
    }

    // The guest's tq20 has exited when its command ends, but its last bytes may still be in
    // QEMU's hands.
    static bool WaitForRecord(CPrinterSim& sim, std::size_t index, std::uint8_t value) {
        for (int i = 0; i < 40 && sim.Current()[index] != value; ++i) {
            std::this_thread::sleep_for(50ms);
        }
        return sim.Current()[index] == value;
    }

    static void PlugBack() {
        ASSERT_EQ(Run("waitgone /dev/ttyUSB0").exitCode, 0) << "the old adapter never went";
        ASSERT_TRUE(s_machine->PlugAdapter());
        ASSERT_EQ(Run("waitfor /dev/ttyUSB0").exitCode, 0) << "the adapter did not come back";
    }

    static inline std::unique_ptr<CPrinterSim> s_uart;
    static inline std::unique_ptr<CPrinterSim> s_usb;
    static inline std::unique_ptr<CRigMachine> s_machine;
    static inline std::string s_error;
};

TEST_F(RigKernelDrivers, SettingsReadSetAndInfoOverBothLines) {
    std::uint8_t contrast = 12;
    for (const Line& line : Lines()) {
        const std::string port = std::string(" --port ") + line.device + " --flow none";
        const auto read = Run("run tq20 settings read" + port);
        EXPECT_EQ(read.exitCode, 0) << line.name << "\n" << read.output;
        EXPECT_NE(read.output.find("contrast = " + std::to_string(line.sim->Current()[0]) + " "),
                  std::string::npos)
            << line.name << "\n"
            << read.output;

        const auto set =
            Run("run tq20 settings set" + port + " contrast=" + std::to_string(contrast));
        EXPECT_EQ(set.exitCode, 0) << line.name << "\n" << set.output;
        EXPECT_TRUE(WaitForRecord(*line.sim, 0, contrast)) << line.name;
        ++contrast;

        const auto info = Run("run tq20 settings info" + port);
        EXPECT_EQ(info.exitCode, 0) << line.name << "\n" << info.output;
        const std::string serial = line.sim == s_uart.get() ? "SN-UART-16550" : "SN-USB-FT232";
        EXPECT_NE(info.output.find(serial), std::string::npos) << line.name << "\n" << info.output;
    }
}

// The speed the guest's driver programs reaches the printer: a host at another speed than the
// printer's gets no answer.
TEST_F(RigKernelDrivers, PrinterHearsTheSpeedTheGuestDriverSets) {
    for (const Line& line : Lines()) {
        SetSpeed(*line.sim, 9600);
        const std::string read =
            std::string("run tq20 settings read --port ") + line.device + " --flow none --baud ";
        EXPECT_EQ(Run(read + "115200").exitCode, 4) << line.name;
        EXPECT_EQ(Run(read + "9600").exitCode, 0) << line.name;
        SetSpeed(*line.sim, 115200);
    }
}

// The printer's six framings, as tq20 names them and the simulator holds them.
struct Framing {
    int parity;  // the simulator's code: 0 none, 1 odd, 2 even
    bool twoStopBits;
    const char* options;
};

constexpr Framing kFramings[] = {
    {0, false, ""},
    {0, true, " --stop-bits 2"},
    {1, false, " --parity odd"},
    {1, true, " --parity odd --stop-bits 2"},
    {2, false, " --parity even"},
    {2, true, " --parity even --stop-bits 2"},
};

// The kernel's drivers keep the parity bit that a pseudo-terminal drops, and each framing opens
// again and again on them. The printers on the host's terminals feel the stop bits but no
// parity: QEMU's host side of each line is a pseudo-terminal too.
TEST_F(RigKernelDrivers, EveryFramingOpensThreeTimesInARow) {
    for (const Line& line : Lines()) {
        for (const Framing& framing : kFramings) {
            line.sim->WithProtocol([&](CSimProtocol& p) {
                p.SetLine({.parity = framing.parity,
                           .twoStopBits = framing.twoStopBits,
                           .flowControl = 0});
            });
            const std::string read = std::string("run tq20 settings read --port ") + line.device +
                                     " --flow none" + framing.options;
            for (int open = 1; open <= 3; ++open) {
                const auto result = Run(read);
                EXPECT_EQ(result.exitCode, 0)
                    << line.name << framing.options << ", open " << open << "\n"
                    << result.output;
            }
        }
        SetSpeed(*line.sim, 115200);
    }
}

// A virtual console's driver keeps no parity bit either, and is no pseudo-terminal: a parity
// line there is refused every time, the first open too.
TEST_F(RigKernelDrivers, ATerminalThatDropsParityIsRefused) {
    // 38400 bit/s: a virtual console reports that speed whatever it is asked.
    const std::string read =
        "run tq20 settings read --port /dev/tty2 --baud 38400 --flow none --parity even";
    for (int open = 1; open <= 3; ++open) {
        const auto result = Run(read);
        EXPECT_EQ(result.exitCode, 3) << "open " << open << "\n" << result.output;
        EXPECT_NE(result.output.find("The driver of /dev/tty2 refused the line settings."),
                  std::string::npos)
            << "open " << open << "\n"
            << result.output;
    }
}

TEST_F(RigKernelDrivers, FontAndProgramLoadsArriveByteForByte) {
    const auto lines = Lines();
    for (std::size_t index = 0; index < lines.size(); ++index) {
        const Line& line = lines[index];
        for (unsigned baud : kSpeeds) {
            SetSpeed(*line.sim, baud);
            for (bool program : {false, true}) {
                const std::string what = std::string(line.name) + " " + std::to_string(baud) +
                                         (program ? " program" : " font");
                const auto load =
                    Run(std::string("run tq20 load --port ") + line.device + " --baud " +
                        std::to_string(baud) + " /rig/" + FileName(index, baud, program));
                EXPECT_EQ(load.exitCode, 0) << what << "\n" << load.output;
                std::cout << what << ": " << load.seconds << " s\n";
                const Bytes memory = Memory(*line.sim);
                const std::uint8_t seed = Seed(index, baud, program);
                if (!program) {
                    const Bytes image = FontImage(seed);
                    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin() + kFontStart))
                        << what;
                    continue;
                }
                for (const ProgramRecord& record : ProgramRecords(seed)) {
                    EXPECT_TRUE(std::equal(record.data.begin(), record.data.end(),
                                           memory.begin() + record.address))
                        << what << " at " << record.address;
                }
            }
        }
        SetSpeed(*line.sim, 115200);
    }
}

TEST_F(RigKernelDrivers, UnplugMidLoadEndsOnceWithLineLost) {
    CPrinterSim& sim = *s_usb;
    sim.SetPacing(true);
    std::size_t blocksBefore = 0;
    sim.WithProtocol([&](CSimProtocol& p) { blocksBefore = p.BootArea().BlockAddresses().size(); });
    ASSERT_EQ(Run("start tq20 load --port /dev/ttyUSB0 /rig/long.fnt").exitCode, 0);
    std::size_t blocks = blocksBefore;
    for (int i = 0; i < 300 && blocks < blocksBefore + 8; ++i) {
        std::this_thread::sleep_for(50ms);
        sim.WithProtocol([&](CSimProtocol& p) { blocks = p.BootArea().BlockAddresses().size(); });
    }
    ASSERT_GE(blocks, blocksBefore + 8) << "the load did not start";
    const double cpuBefore = TicksToSeconds(Run("cpu").output);
    const auto unplugged = Clock::now();
    ASSERT_TRUE(s_machine->UnplugAdapter());
    const auto load = Run("finish");
    const double seconds = std::chrono::duration<double>(Clock::now() - unplugged).count();
    sim.SetPacing(false);

    EXPECT_EQ(load.exitCode, 31) << load.output;
    EXPECT_EQ(Count(load.output, LoadString(IDS_LINE_LOST)), 1u) << load.output;
    EXPECT_LT(seconds, 3.0);
    const double cpuAfter = CpuSeconds(load.output) - cpuBefore;
    EXPECT_LT(cpuAfter, 0.2 + seconds / 2) << "the guest's tq20 kept the processor busy";
    std::cout << "line lost after " << seconds << " s, " << cpuAfter << " s of processor\n";

    // The printer still waits in its boot area: the load is simply run again.
    PlugBack();
    const auto again = Run("run tq20 load --port /dev/ttyUSB0 /rig/long.fnt");
    EXPECT_EQ(again.exitCode, 0) << again.output;
    const Bytes image = LongFontImage();
    const Bytes memory = Memory(sim);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin() + kFontStart));
}

TEST_F(RigKernelDrivers, UnplugMidReadEndsWithinThreeSeconds) {
    CPrinterSim& sim = *s_usb;
    sim.InjectFault({.kind = SimFaultKind::Silence});
    sim.ClearLog();
    ASSERT_EQ(Run("start tq20 settings read --port /dev/ttyUSB0 --flow none").exitCode, 0);
    ASSERT_TRUE(sim.WaitForCommands(1, 10s)) << "the read never reached the printer";
    const double cpuBefore = TicksToSeconds(Run("cpu").output);
    const auto unplugged = Clock::now();
    ASSERT_TRUE(s_machine->UnplugAdapter());
    const auto read = Run("finish");
    const double seconds = std::chrono::duration<double>(Clock::now() - unplugged).count();
    sim.InjectFault({});

    EXPECT_EQ(read.exitCode, 7) << "a lost line, not a time-out\n" << read.output;
    EXPECT_LT(seconds, 3.0);
    const double cpuAfter = CpuSeconds(read.output) - cpuBefore;
    EXPECT_LT(cpuAfter, 0.2 + seconds / 2) << "the guest's tq20 kept the processor busy";
    std::cout << "read ended " << seconds << " s after the unplug, " << cpuAfter
              << " s of processor\n";

    PlugBack();
    const auto again = Run("run tq20 settings read --port /dev/ttyUSB0 --flow none");
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_NE(again.output.find("contrast = "), std::string::npos) << again.output;
}

// Where KVM is offered but does not boot a guest, the rig falls back to TCG; where an
// accelerator is named, it is used without a probe. The KVM device here is a stand-in file and
// the KVM boot is given no time, so the KVM attempt fails on any host, with or without KVM.
class RigAccelerator : public ::testing::Test {
protected:
    void SetUp() override {
        for (CPrinterSim* sim : {&m_uart, &m_usb}) {
            sim->WithProtocol([](CSimProtocol& p) { p.SetLine({.flowControl = 0}); });
            ASSERT_TRUE(sim->Start()) << "no pseudo-terminal";
        }
        char folder[] = "/tmp/tq20-rig-accel-XXXXXX";
        ASSERT_NE(::mkdtemp(folder), nullptr);
        m_folder = folder;
        std::ofstream(m_folder + "/kvm") << "";
    }

    void TearDown() override { std::filesystem::remove_all(m_folder); }

    CRigMachine::Config Config(const std::string& accelerator) {
        return {.rigDir = TQ20_RIG_DIR,
                .uartDevice = m_uart.DevicePath(),
                .usbDevice = m_usb.DevicePath(),
                .accelerator = accelerator,
                .kvmDevice = m_folder + "/kvm",
                .kvmBootTimeout = 0s};
    }

    CPrinterSim m_uart;
    CPrinterSim m_usb;
    std::string m_folder;
};

TEST_F(RigAccelerator, KvmIsUsedOnlyOnceAGuestBootsWithIt) {
    struct Case {
        const char* accelerator;
        const char* reportStart;
    };
    for (const Case& c : {Case{"auto", "tcg (kvm tried: "}, Case{"tcg", "tcg (chosen)"}}) {
        CRigMachine machine(Config(c.accelerator));
        ASSERT_TRUE(machine.Start()) << c.accelerator << "\n" << machine.Error();
        EXPECT_EQ(machine.Accelerator(), "tcg") << c.accelerator;
        EXPECT_TRUE(machine.AcceleratorReport().starts_with(c.reportStart))
            << machine.AcceleratorReport();
        EXPECT_EQ(machine.Shell().Run("true").exitCode, 0) << c.accelerator;
        std::cout << c.accelerator << ": guest up in " << machine.BootSeconds() << " s on "
                  << machine.AcceleratorReport() << "\n";
    }
}

TEST_F(RigAccelerator, AnUnknownChoiceIsRefusedBeforeQemuStarts) {
    CRigMachine machine(Config("fast"));
    EXPECT_FALSE(machine.Start());
    EXPECT_TRUE(
        machine.Error().starts_with("TQ20_RIG_ACCEL is \"fast\"; it may be kvm, tcg or auto"))
        << machine.Error();
}

}  // namespace
