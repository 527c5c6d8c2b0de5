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
#include "QueueDevice.h"
#include "RecordingNotifier.h"
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
    RecordingNotifier notifier;
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
    CMiniPrinter printer(notifier, queues);
    ASSERT_TRUE(printer.Connect(&owner, sim->DevicePath(), 115200, 0, 1, 0));
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
    EXPECT_TRUE(notifier.Messages().empty());
}

TEST_F(CupsQueueTest, QueueStoppedByItsAdministratorStaysStopped) {
    ASSERT_TRUE(cups.Disable("Receipts"));
    CCupsPrinterQueues queues(cups.JournalFolder());
    CMiniPrinter printer(notifier, queues);
    ASSERT_TRUE(printer.Connect(&owner, sim->DevicePath(), 115200, 0, 1, 0));
    EXPECT_TRUE(JournalEmpty()) << "only queues this program stopped are recorded";
    printer.Disconnect();
    EXPECT_EQ(cups.State("Receipts"), "disabled");
    EXPECT_TRUE(notifier.Messages().empty());
}

}  // namespace
