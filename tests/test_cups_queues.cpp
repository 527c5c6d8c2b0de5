#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <thread>

#include "CCupsPrinterQueues.h"
#include "CMiniPrinter.h"
#include "CPrinterSim.h"
#include "CupsServer.h"
#include "LoaderFiles.h"
#include "QueueDevice.h"
#include "RecordingOwner.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr const char* kJob = "JOB-7341: paid, thank you\n";

bool Contains(const std::vector<std::uint8_t>& bytes, const std::string& text) {
    return std::search(bytes.begin(), bytes.end(), text.begin(), text.end()) != bytes.end();
}

// A real scheduler with a raw queue "Receipts" on the simulator's pseudo-terminal.
class CupsQueueTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!cups.Start()) {
            GTEST_SKIP() << "no CUPS scheduler here: " << cups.Error();
        }
        SimOptions options;
        options.checkLine = false;  // the queue's backend sets the line as it likes
        sim = std::make_unique<CPrinterSim>(options);
        ASSERT_TRUE(sim->Start());
        ASSERT_TRUE(cups.AddSerialQueue("Receipts", sim->DevicePath()));
    }

    bool JobPrinted(std::chrono::milliseconds limit) {
        const auto until = std::chrono::steady_clock::now() + limit;
        while (std::chrono::steady_clock::now() < until) {
            if (Contains(sim->ReceivedBytes(), kJob)) {
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }

    // No program's list of stopped queues is left (a live program keeps only its lock file).
    bool JournalEmpty() const {
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(cups.JournalFolder(), error)) {
            if (entry.path().extension() == ".queues") {
                return false;
            }
        }
        return true;
    }

    CupsServer cups;
    std::unique_ptr<CPrinterSim> sim;
    RecordingOwner owner;
};

TEST(CupsQueueDevice, SerialUrisNameTheirDevice) {
    const std::pair<const char*, const char*> cases[] = {
        {"serial:/dev/ttyS0?baud=115200", "/dev/ttyS0"},
        {"serial:/dev/ttyUSB1", "/dev/ttyUSB1"},
        {"serial:///dev/ttyS2?baud=9600+bits=8", "/dev/ttyS2"},
        {"socket://192.0.2.1:9100", "socket://192.0.2.1:9100"},
        {"usb://Maker/Printer?serial=1", "usb://Maker/Printer?serial=1"},
    };
    for (const auto& [uri, port] : cases) {
        EXPECT_EQ(QueueDevicePort(uri), port) << uri;
    }
}

// The journal alone, in a scratch folder: what a starting program does with the lists it finds.
class CupsJournalTest : public ::testing::Test {
protected:
    void TearDown() override { fs::remove_all(folder); }

    void WriteLeftover(const std::string& name, const std::string& text) {
        fs::create_directories(folder);
        std::ofstream(folder / name) << text;
    }
    std::vector<std::string> Recover() {
        std::vector<std::string> released;
        CQueueJournal(folder).RecoverLeftovers([&](const std::string& queue) {
            released.push_back(queue);
            return queue != "Stubborn";
        });
        return released;
    }

    fs::path folder = fs::temp_directory_path() / ("tq20-journal-" + std::to_string(::getpid()));
};

TEST_F(CupsJournalTest, ListsOfEndedProgramsAreReleasedAndRemoved) {
    WriteLeftover("4001.queues", "Receipts\nLabels\n");
    WriteLeftover("4001.lock", "");
    WriteLeftover("4002.queues", "Kitchen\nStubborn\n");
    auto released = Recover();
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (std::vector<std::string>{"Kitchen", "Labels", "Receipts", "Stubborn"}));
    EXPECT_FALSE(fs::exists(folder / "4001.queues"));
    EXPECT_FALSE(fs::exists(folder / "4001.lock"));
    std::ifstream left(folder / "4002.queues");
    const std::string text{std::istreambuf_iterator<char>(left), {}};
    EXPECT_EQ(text, "Stubborn\n") << "a queue that could not be started is tried next time";
}

TEST_F(CupsJournalTest, ListOfALiveProgramIsLeftAlone) {
    CQueueJournal live(folder);
    ASSERT_TRUE(live.Add("Receipts"));
    EXPECT_TRUE(Recover().empty());
    EXPECT_TRUE(fs::exists(folder / (std::to_string(::getpid()) + ".queues")));
    live.Remove("Receipts");
    EXPECT_FALSE(fs::exists(folder / (std::to_string(::getpid()) + ".queues")));
}

TEST_F(CupsQueueTest, EnumeratesTheDeviceOfEachQueueWithLinksResolved) {
    const fs::path link = cups.Folder() / "by-id-printer";
    fs::create_symlink(sim->DevicePath(), link);
    ASSERT_TRUE(cups.AddSerialQueue("Linked", link.string()));
    ASSERT_TRUE(cups.AddQueue("Network", "socket://127.0.0.1:9"));
    CCupsPrinterQueues queues(cups.JournalFolder());
    const auto found = queues.EnumerateLocal();
    ASSERT_TRUE(found);
    std::map<std::string, std::string> ports;
    for (const PrinterQueue& queue : *found) {
        ports[queue.name] = queue.port;
    }
    EXPECT_EQ(ports, (std::map<std::string, std::string>{{"Linked", sim->DevicePath()},
                                                         {"Network", "socket://127.0.0.1:9"},
                                                         {"Receipts", sim->DevicePath()}}));
}

TEST_F(CupsQueueTest, JobsWaitWhileConnectedAndPrintAfterwards) {
    CCupsPrinterQueues queues(cups.JournalFolder());
    CMiniPrinter printer(queues);
    ASSERT_TRUE(printer.Connect(&owner, sim->DevicePath(), 115200, Parity::None,
                                FlowControl::RtsCts, StopBits::One));
    EXPECT_TRUE(printer.QueuesNotHeld().empty());
    EXPECT_EQ(cups.State("Receipts"), "disabled");
    EXPECT_FALSE(JournalEmpty()) << "a stopped queue is recorded";
    ASSERT_TRUE(cups.Submit("Receipts", kJob));
    EXPECT_FALSE(JobPrinted(1500ms)) << "no job reaches the port while the printer is connected";
    EXPECT_EQ(cups.PendingJobs("Receipts"), 1);

    printer.Disconnect();
    EXPECT_NE(cups.State("Receipts"), "disabled");
    EXPECT_TRUE(JobPrinted(10s)) << "the waiting job prints once the port is free";
    EXPECT_TRUE(cups.WaitForState("Receipts", "idle", 5000));
    EXPECT_EQ(cups.PendingJobs("Receipts"), 0);
    EXPECT_TRUE(JournalEmpty());
}

TEST_F(CupsQueueTest, QueueStoppedByItsAdministratorStaysStopped) {
    ASSERT_TRUE(cups.Disable("Receipts"));
    CCupsPrinterQueues queues(cups.JournalFolder());
    CMiniPrinter printer(queues);
    ASSERT_TRUE(printer.Connect(&owner, sim->DevicePath(), 115200, Parity::None,
                                FlowControl::RtsCts, StopBits::One));
    EXPECT_TRUE(printer.QueuesNotHeld().empty());
    EXPECT_TRUE(JournalEmpty()) << "only queues this program stopped are recorded";
    printer.Disconnect();
    EXPECT_EQ(cups.State("Receipts"), "disabled");
}

TEST_F(CupsQueueTest, QueueOfAKilledProgramRunsAgainWhenTheNextOneStarts) {
    sim->InjectFault({SimFaultKind::Silence});  // the settings read waits for its reply watch
    const std::string device = sim->DevicePath();
    const pid_t tool = ::fork();
    if (tool == 0) {
        ::execl(TQ20_CLI, TQ20_CLI, "settings", "read", "--port", device.c_str(), nullptr);
        ::_exit(127);
    }
    ASSERT_TRUE(cups.WaitForState("Receipts", "disabled", 5000));
    ::kill(tool, SIGKILL);
    ::waitpid(tool, nullptr, 0);
    EXPECT_EQ(cups.State("Receipts"), "disabled");
    EXPECT_FALSE(JournalEmpty()) << "the killed program's journal stays behind";
    ASSERT_TRUE(cups.Submit("Receipts", kJob));
    EXPECT_FALSE(JobPrinted(500ms));

    const CommandResult start = RunCommand(std::string(TQ20_CLI) + " --help");
    EXPECT_EQ(start.exitCode, 0) << start.output;
    EXPECT_NE(cups.State("Receipts"), "disabled") << "starting any program restarts the queue";
    EXPECT_TRUE(JobPrinted(10s));
    EXPECT_TRUE(JournalEmpty());
}

TEST_F(CupsQueueTest, LoadHoldsTheQueueUntilItEnds) {
    sim->InjectFault({SimFaultKind::Silence});
    const TempFile font("font.fnt", FontFileBytes("TQ-20", Pattern(64, 3)));
    std::thread observer([&] {
        EXPECT_TRUE(cups.WaitForState("Receipts", "disabled", 5000)) << "held during the load";
    });
    const CommandResult load =
        RunCommand(std::string(TQ20_CLI) + " load --port " + sim->DevicePath() + " " + font.Path());
    observer.join();
    EXPECT_EQ(load.exitCode, 20) << load.output;
    EXPECT_EQ(cups.State("Receipts"), "idle");
    EXPECT_TRUE(JournalEmpty());
}

// Several printers at once: each port's queue is held for its own load, from its own thread.
TEST_F(CupsQueueTest, ALoadOnSeveralPortsHoldsTheQueueOfEach) {
    CPrinterSim second;
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(cups.AddSerialQueue("Labels", second.DevicePath()));
    sim->InjectFault({SimFaultKind::Silence});
    second.InjectFault({SimFaultKind::Silence});
    const TempFile font("font.fnt", FontFileBytes("TQ-20", Pattern(64, 3)));
    std::thread observer([&] {
        EXPECT_TRUE(cups.WaitForState("Receipts", "disabled", 5000));
        EXPECT_TRUE(cups.WaitForState("Labels", "disabled", 5000));
    });
    const CommandResult load =
        RunCommand(std::string(TQ20_CLI) + " load --port " + sim->DevicePath() + " --port " +
                   second.DevicePath() + " " + font.Path());
    observer.join();
    EXPECT_EQ(load.exitCode, 20) << load.output;
    EXPECT_EQ(cups.State("Receipts"), "idle");
    EXPECT_EQ(cups.State("Labels"), "idle");
    EXPECT_TRUE(JournalEmpty());
}

TEST_F(CupsQueueTest, UserWhoMayNotManageQueuesIsWarnedAndGoesAhead) {
    if (::getuid() != 0) {
        GTEST_SKIP() << "needs root to run the tool as another user";
    }
    const CommandResult run =
        RunCommand("setpriv --reuid=65534 --regid=65534 --clear-groups " + std::string(TQ20_CLI) +
                   " settings read --port " + sim->DevicePath());
    EXPECT_NE(run.output.find("CMiniPrinter: Printer queues: Printer queues that may still print "
                              "to the port (no permission to stop them): Receipts\n"),
              std::string::npos)
        << run.output;
    EXPECT_EQ(cups.State("Receipts"), "idle");
    EXPECT_TRUE(JournalEmpty());
}

}  // namespace
