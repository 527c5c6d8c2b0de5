#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "CCommandChannel.h"
#include "CPrinterSim.h"
#include "CSocketTransport.h"
#include "RecordingOwner.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

class SocketTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }

    std::unique_ptr<CCommandChannel> Open(const std::string& host, int port) {
        ChannelConfig config;
        config.transport = TransportKind::Tcp;
        config.host = host;
        config.hostPort = port;
        config.portName = "/dev/not-used";
        auto channel = std::make_unique<CCommandChannel>(&owner, config);
        channel->SetWatchLength(500ms);
        return channel;
    }

    CPrinterSim sim{{.pty = false, .tcp = true}};
    RecordingOwner owner;
};

TEST_F(SocketTest, ChannelReadsTheSettingsOverTcp) {
    for (const char* host : {"127.0.0.1", "localhost"}) {
        RecordingOwner reader;
        ChannelConfig config;
        config.transport = TransportKind::Tcp;
        config.host = host;
        config.hostPort = sim.TcpPort();
        CCommandChannel channel(&reader, config);
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
}

TEST_F(SocketTest, PeerClosingIsReportedOnce) {
    sim.InjectFault({.kind = SimFaultKind::HangUp, .hangUpAfter = 0});
    auto channel = Open("127.0.0.1", sim.TcpPort());
    ASSERT_TRUE(channel->IsOpen());
    const Bytes frame{0x12, 0x63, 0x4C, 0x63};
    channel->Send(frame.data(), 4, true, 19);
    ASSERT_TRUE(owner.WaitFor(1, 3s));
    EXPECT_EQ(owner.Entries()[0].message, WM_CHANNEL_LINE_LOST);
    EXPECT_EQ(channel->LastLineLoss(), LineLoss::PeerClosed);
}

TEST_F(SocketTest, PurgesDoNothing) {
    CSocketTransport transport(nullptr, "127.0.0.1", sim.TcpPort());
    EXPECT_FALSE(transport.PurgeInput());
    EXPECT_FALSE(transport.PurgeOutput());
    EXPECT_FALSE(transport.Close()) << "nothing to close before Open";
}

struct QuietSink final : IInputSink {
    void OnDataAvailable() override {}
};

// A write says how much left, as the serial port's does: fewer bytes than asked when the peer
// is gone, none before the transport is open, and never a negative count.
TEST(SocketWrite, ATransportThatCannotSendSaysHowMuchLeft) {
    const int listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ASSERT_EQ(::listen(listener, 1), 0);
    socklen_t size = sizeof address;
    ASSERT_EQ(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size), 0);
    QuietSink sink;
    CSocketTransport transport(&sink, "127.0.0.1", ntohs(address.sin_port));
    const Bytes block(64 * 1024, 0x55);
    const int length = static_cast<int>(block.size());
    EXPECT_EQ(transport.Write(block.data(), length), 0) << "not open yet";
    ASSERT_TRUE(transport.Open());
    const int peer = ::accept(listener, nullptr, nullptr);
    ASSERT_GE(peer, 0);
    // Closed with a reset: the sends after it fail.
    const linger reset{1, 0};
    ::setsockopt(peer, SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
    ::close(peer);
    int written = length;
    for (int i = 0; i < 100 && written == length; ++i) {
        written = transport.Write(block.data(), length);
    }
    EXPECT_GE(written, 0);
    EXPECT_LT(written, length);
    transport.Close();
    ::close(listener);
}

}  // namespace
