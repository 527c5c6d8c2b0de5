#include <gtest/gtest.h>

#include "CCommandChannel.h"
#include "CPrinterSim.h"
#include "CSocketTransport.h"
#include "RecordingNotifier.h"
#include "RecordingOwner.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class SocketTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }

    std::unique_ptr<CCommandChannel> Open(const std::string& host, int port) {
        ChannelConfig config;
        config.interfaceName = "IrDA";
        config.host = host;
        config.hostPort = port;
        config.portName = "/dev/not-used";
        auto channel = std::make_unique<CCommandChannel>(&owner, config, &notifier);
        channel->SetWatchLength(500ms);
        return channel;
    }

    CPrinterSim sim{{.pty = false, .tcp = true}};
    RecordingOwner owner;
    RecordingNotifier notifier;
};

TEST_F(SocketTest, ChannelReadsTheSettingsOverTcp) {
    for (const char* host : {"127.0.0.1", "localhost"}) {
        RecordingOwner reader;
        ChannelConfig config;
        config.interfaceName = "IrDA";
        config.host = host;
        config.hostPort = sim.TcpPort();
        CCommandChannel channel(&reader, config, &notifier);
        ASSERT_TRUE(channel.IsOpen()) << host;
        const Bytes frame{0x12, 0x63, 0x4C, 0x63};
        channel.Send(frame.data(), 4, true, 19);
        ASSERT_TRUE(reader.WaitFor(1, 3s)) << host;
        const auto entries = reader.Entries();
        EXPECT_EQ(entries[0].message, WM_CHANNEL_REPLY) << host;
        const auto record = sim.Current();
        EXPECT_EQ(entries[0].bytes, Bytes(record.begin(), record.end())) << host;
    }
}

TEST_F(SocketTest, HostsThatCannotBeReachedDoNotOpen) {
    EXPECT_FALSE(Open("no-such-host.invalid", sim.TcpPort())->IsOpen());
    EXPECT_FALSE(Open("127.0.0.1", 0)->IsOpen());
    CPrinterSim closed{{.pty = false, .tcp = true}};
    ASSERT_TRUE(closed.Start());
    const int freedPort = closed.TcpPort();
    closed.Stop();
    EXPECT_FALSE(Open("127.0.0.1", freedPort)->IsOpen());
    EXPECT_TRUE(notifier.Messages().empty()) << "the caller reports a failed open";
}

TEST_F(SocketTest, PeerClosingIsReportedOnce) {
    sim.InjectFault({.kind = SimFaultKind::HangUp, .hangUpAfter = 0});
    auto channel = Open("127.0.0.1", sim.TcpPort());
    ASSERT_TRUE(channel->IsOpen());
    const Bytes frame{0x12, 0x63, 0x4C, 0x63};
    channel->Send(frame.data(), 4, true, 19);
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    EXPECT_EQ(owner.Entries()[0].message, WM_CHANNEL_LINE_LOST);
    EXPECT_EQ(notifier.Messages(),
              (std::vector<RecordingNotifier::Message>{
                  {"ERROR #4", notifier.ApplicationTitle(), MessageIcon::Error}}));
}

TEST_F(SocketTest, PurgesDoNothing) {
    CSocketTransport transport(nullptr, "127.0.0.1", sim.TcpPort());
    EXPECT_FALSE(transport.PurgeInput());
    EXPECT_FALSE(transport.PurgeOutput());
    EXPECT_FALSE(transport.Close()) << "nothing to close before Open";
}

}  // namespace
