// The line search on its own: progress, cancelling from another thread, and the port it leaves.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "CLineDetector.h"
#include "CPrinterSim.h"
#include "LineCandidates.h"
#include "PtyPair.h"

namespace {

using namespace std::chrono_literals;

bool CanLock(const std::string& device) {
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    const bool locked = fd >= 0 && ::flock(fd, LOCK_EX | LOCK_NB) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return locked;
}

TEST(LineDetectorTest, TheOrderCoversEveryLineOnceFactoryFirst) {
    const auto order = DetectionOrder();
    ASSERT_EQ(order.size(), 10u * 3u * 6u);
    EXPECT_EQ(order.front().baudRate, 115200u);
    EXPECT_EQ(order.front().flowControl, FlowControl::RtsCts);
    EXPECT_EQ(FramingName(order.front()), "8N1");
    for (std::size_t i = 0; i < order.size(); ++i) {
        for (std::size_t j = i + 1; j < order.size(); ++j) {
            EXPECT_FALSE(SameLineProgramming(order[i], order[j])) << i << " and " << j;
        }
    }
}

TEST(LineDetectorTest, OnlyARecordNamingTheSpeedItCameAtIsThePrinter) {
    SerialLineRequest at9600;
    at9600.baudRate = 9600;
    std::vector<std::uint8_t> record(PrinterSettings::kSize, 0);
    record[16] = 6;  // 9600
    EXPECT_EQ(JudgeProbe(record, at9600), ProbeAnswer::Record);
    record[16] = 0;  // 115200: nineteen bytes of noise that happen to have the length
    EXPECT_EQ(JudgeProbe(record, at9600), ProbeAnswer::Noise);
    record.resize(18);
    EXPECT_EQ(JudgeProbe(record, at9600), ProbeAnswer::Noise);
    EXPECT_EQ(JudgeProbe({}, at9600), ProbeAnswer::Silence);
}

TEST(LineDetectorTest, ReportsEveryTryAndTriesTheLikelyFramingsFirst) {
    CPrinterSim sim;
    ASSERT_TRUE(sim.Start());
    sim.WithProtocol([](CSimProtocol& protocol) {
        protocol.SetLine({.baudRate = 19200, .parity = 0, .twoStopBits = true, .flowControl = 0});
    });
    CLineDetector detector(sim.DevicePath());
    std::vector<int> indexes;
    const LineDetection found = detector.Run([&](int index, int count, const SerialLineRequest&) {
        EXPECT_EQ(count, 180);
        indexes.push_back(index);
    });
    ASSERT_EQ(found.status, LineDetection::Status::Found);
    EXPECT_EQ(found.line.baudRate, 19200u);
    EXPECT_EQ(found.line.flowControl, FlowControl::None);
    EXPECT_EQ(found.line.stopBits, StopBits::Two);
    ASSERT_FALSE(indexes.empty());
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        EXPECT_EQ(indexes[i], static_cast<int>(i + 1));
    }
    EXPECT_EQ(found.tries.size(), indexes.size());
    // Speeds that gave only noise at 8N1 keep their other framings for the end: after 8N1 at
    // every speed, 19200's own framings come next.
    EXPECT_LE(found.tries.size(), 3u * 10u + 3u);
    EXPECT_TRUE(CanLock(sim.DevicePath())) << "the search must let the port go";
}

// A silent line would take every try's wait; a cancel from another thread ends the try that
// is waiting, at once.
TEST(LineDetectorTest, ACancelFromAnotherThreadEndsTheSearchAtOnce) {
    PtyPair line;
    CLineDetector detector(line.SlavePath());
    std::atomic<int> reached{0};
    std::thread canceller([&] {
        while (reached.load() < 3) {
            std::this_thread::sleep_for(1ms);
        }
        detector.Cancel();
    });
    const auto started = std::chrono::steady_clock::now();
    const LineDetection found =
        detector.Run([&](int index, int, const SerialLineRequest&) { reached = index; });
    const auto took = std::chrono::steady_clock::now() - started;
    canceller.join();
    EXPECT_EQ(found.status, LineDetection::Status::Cancelled);
    EXPECT_LT(found.tries.size(), 4u);
    EXPECT_LT(took, 2s) << "three silent tries and no more";
    EXPECT_TRUE(CanLock(line.SlavePath()));
}

TEST(LineDetectorTest, APortThatDoesNotOpenSaysWhy) {
    CLineDetector detector("/dev/no-such-printer");
    const LineDetection found = detector.Run();
    EXPECT_EQ(found.status, LineDetection::Status::PortNotOpened);
    EXPECT_EQ(found.openFailure.kind, OpenFailureKind::NoDevice);
    EXPECT_TRUE(found.tries.empty());
}

TEST(LineDetectorTest, ALineThatHangsUpEndsTheSearch) {
    CPrinterSim sim;
    ASSERT_TRUE(sim.Start());
    sim.InjectFault({.kind = SimFaultKind::HangUp});
    CLineDetector detector(sim.DevicePath());
    EXPECT_EQ(detector.Run().status, LineDetection::Status::LineLost);
}

}  // namespace
