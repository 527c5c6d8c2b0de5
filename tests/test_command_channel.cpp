#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "CCommandChannel.h"
#include "ProcessCpu.h"
#include "PtyPair.h"
#include "RecordingOwner.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Most tests use a short watch to stay quick; one uses the printer's real limit.
constexpr auto kShortWatch = 250ms;
constexpr auto kSettle = kShortWatch + 250ms;

Bytes Sequence(std::size_t count) {
    Bytes bytes(count);
    for (std::size_t i = 0; i < count; ++i) {
        bytes[i] = static_cast<std::uint8_t>(0x30 + i);
    }
    return bytes;
}

// A channel on a fresh pseudo-terminal, with the test playing the printer.
struct Rig {
    explicit Rig(std::chrono::milliseconds watch = kShortWatch) {
        ChannelConfig config;
        config.portName = pty.SlavePath();
        channel = std::make_unique<CCommandChannel>(&owner, config);
        channel->SetWatchLength(watch);
    }

    // A printer answers only what it has heard: each send returns once the request is there.
    void SendRead(int replyLength = 19) {
        const Bytes frame{0x12, 0x63, 0x4C, 0x63};
        channel->Send(frame.data(), 4, true, replyLength);
        EXPECT_EQ(pty.ReadFromHost(4, 2s), frame);
    }

    void SendPattern(int kind, const Bytes& pattern) {
        const Bytes frame{0x1D, 0x49, 0x02};
        channel->SendAwaitPattern(frame.data(), 3, kind, pattern.data(),
                                  static_cast<int>(pattern.size()));
        EXPECT_EQ(pty.ReadFromHost(3, 2s), frame);
    }

    // Every notification that comes within the settle time.
    std::vector<RecordingOwner::Entry> Settled(std::size_t expected) {
        owner.WaitFor(expected, 5s);
        std::this_thread::sleep_for(kSettle);
        return owner.Entries();
    }

    PtyPair pty;
    RecordingOwner owner;
    std::unique_ptr<CCommandChannel> channel;
};

class ChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        rig = std::make_unique<Rig>();
        ASSERT_TRUE(rig->channel->IsOpen());
    }

    std::unique_ptr<Rig> rig;
};

struct Expected {
    ChannelMessage message;
    Bytes bytes;
};

struct AssemblyCase {
    const char* name;
    int kind;  // 0: fixed length 19, 1: stream, otherwise the pattern kind
    Bytes pattern;
    std::vector<Bytes> chunks;
    std::vector<Expected> expected;
};

TEST_F(ChannelTest, AssemblesRepliesFromChunks) {
    const Bytes abc{'A', 'B', 'C'};
    const Bytes def{'D', 'E', 0x0A, 'F'};
    const AssemblyCase cases[] = {
        {"19 bytes as 7 + 12",
         0,
         {},
         {Sequence(7), Bytes(12, 7)},
         {{WM_CHANNEL_REPLY,
           [] {
               Bytes b(19, 7);
               const Bytes head = Sequence(7);
               std::copy(head.begin(), head.end(), b.begin());
               return b;
           }()}}},
        {"10 of 19 bytes", 0, {}, {Sequence(10)}, {{WM_CHANNEL_TIMEOUT, {}}}},
        {"LF in the second chunk",
         16,
         {0x0A},
         {abc, def},
         {{WM_CHANNEL_REPLY, {'A', 'B', 'C', 'D', 'E', 0x0A, 'F'}}}},
        {"CR LF never together",
         16,
         {0x0D, 0x0A},
         {{0x0A, 'A', 0x0D}, {'B', 0x0A}},
         {{WM_CHANNEL_TIMEOUT, {}}}},
        {"CR LF across chunks",
         16,
         {0x0D, 0x0A},
         {{'A', 0x0D}, {0x0A}},
         {{WM_CHANNEL_REPLY, {'A', 0x0D, 0x0A}}}},
        {"length field, 6 bytes",
         17,
         {0x02, 0x00, 0x01, 0x00},
         {{1, 2, 6}, {4, 5, 6}},
         {{WM_CHANNEL_REPLY, {1, 2, 6, 4, 5, 6}}}},
        {"length field with header, 8 bytes",
         17,
         {0x02, 0x00, 0x01, 0x01},
         {{1, 2, 6, 4, 5, 6, 7}, {8}},
         {{WM_CHANNEL_REPLY, {1, 2, 6, 4, 5, 6, 7, 8}}}},
        {"stream",
         1,
         {},
         {abc, def},
         {{WM_CHANNEL_CHUNK, abc}, {WM_CHANNEL_CHUNK, def}, {WM_CHANNEL_STREAM_END, {}}}},
    };
    for (const AssemblyCase& c : cases) {
        SCOPED_TRACE(c.name);
        Rig fresh;
        if (c.kind == 0 || c.kind == 1) {
            fresh.SendRead(c.kind == 0 ? 19 : 0);
        } else {
            fresh.SendPattern(c.kind, c.pattern);
        }
        for (const Bytes& chunk : c.chunks) {
            fresh.pty.WriteChunk(chunk);
        }
        const auto entries = fresh.Settled(c.expected.size());
        ASSERT_EQ(entries.size(), c.expected.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i].message, c.expected[i].message) << "notification " << i;
            EXPECT_EQ(entries[i].bytes, c.expected[i].bytes) << "notification " << i;
            EXPECT_NE(entries[i].thread, std::this_thread::get_id());
        }
    }
}

TEST_F(ChannelTest, RefusedPatternsSendNothing) {
    const Bytes frame{0x1D, 0x49, 0x01};
    const Bytes noPattern;
    const Bytes zeroOffset{0x00, 0x00, 0x01, 0x00};
    const Bytes lf{0x0A};
    rig->channel->SendAwaitPattern(frame.data(), 3, 16, noPattern.data(), 0);
    rig->channel->SendAwaitPattern(frame.data(), 3, 17, zeroOffset.data(), 4);
    rig->channel->SendAwaitPattern(frame.data(), 3, 5, lf.data(), 1);
    rig->channel->SendAwaitPattern(nullptr, 0, 16, lf.data(), 1);
    rig->channel->Send(nullptr, 0, true, 19);
    EXPECT_TRUE(rig->pty.ReadFromHost(1, 300ms).empty());
    EXPECT_TRUE(rig->Settled(0).empty());
}

TEST_F(ChannelTest, RefusedRequestEndsThePendingOneWithoutNotice) {
    rig->SendRead();
    const Bytes frame{0x1D, 0x49, 0x01};
    rig->channel->SendAwaitPattern(frame.data(), 3, 5, frame.data(), 1);
    rig->pty.WriteChunk(Sequence(19));
    EXPECT_TRUE(rig->Settled(0).empty());
}

TEST_F(ChannelTest, SecondSendReplacesThePendingRequestSilently) {
    rig->SendRead();
    rig->SendRead(3);
    rig->pty.WriteChunk(Sequence(3));
    const auto entries = rig->Settled(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_REPLY);
    EXPECT_EQ(entries[0].bytes, Sequence(3));
}

TEST_F(ChannelTest, InputWithoutARequestIsDroppedByTheNext) {
    const Bytes store{0x12, 0x63, 0x53};
    rig->channel->Send(store.data(), 3, false, 0);
    EXPECT_EQ(rig->pty.ReadFromHost(3, 2s), store);
    rig->pty.WriteChunk({0xEE, 0xEE, 0xEE, 0xEE, 0xEE});
    EXPECT_TRUE(rig->Settled(0).empty());
    rig->SendRead(3);
    rig->pty.WriteChunk(Sequence(3));
    const auto entries = rig->Settled(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].bytes, Sequence(3));
}

TEST_F(ChannelTest, ReplyTricklingInFasterThanTheWatchNeverTimesOut) {
    rig->SendRead();
    const auto start = std::chrono::steady_clock::now();
    for (std::uint8_t i = 0; i < 19; ++i) {
        rig->pty.WriteChunk({i});
        std::this_thread::sleep_for(kShortWatch / 3);
    }
    ASSERT_GT(std::chrono::steady_clock::now() - start, 2 * kShortWatch);
    const auto entries = rig->Settled(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_REPLY);
    EXPECT_EQ(entries[0].bytes.size(), 19u);
}

TEST(Channel, SilenceEndsInOneTimeOutAfterTheRealWatch) {
    Rig real(kReplyWatch);
    const auto sent = std::chrono::steady_clock::now();
    real.SendRead();
    ASSERT_TRUE(real.owner.WaitFor(1, 5s));
    const auto waited = real.owner.Entries()[0].when - sent;
    std::this_thread::sleep_for(kReplyWatch / 2);
    const auto entries = real.owner.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_TIMEOUT);
    EXPECT_GE(waited, kReplyWatch);
    EXPECT_LT(waited, kReplyWatch + 1s);
}

TEST(Channel, HangUpMidReplyIsReportedAtOnceWithAnIdleCpu) {
    Rig real(kReplyWatch);
    real.SendRead();
    real.pty.WriteChunk(Sequence(5));
    const auto hungUp = std::chrono::steady_clock::now();
    real.pty.HangUp();
    const double cpuBefore = ProcessCpuSeconds();
    ASSERT_TRUE(real.owner.WaitFor(1, 5s));
    std::this_thread::sleep_for(kSettle);
    const double cpuUsed = ProcessCpuSeconds() - cpuBefore;
    const auto entries = real.owner.Entries();
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_LINE_LOST);
    EXPECT_LT(entries[0].when - hungUp, kReplyWatch / 4) << "not after the watch";
    // A reader spinning on the hung-up line would burn the whole wait.
    EXPECT_LT(cpuUsed, 0.2);
}

// The tail of an earlier conversation: bytes arriving after the request but before its reply.
// The complete reply is then followed by more bytes, so the channel asks again and delivers
// the clean second answer; a printer that always answers too long is handed over as it is
// after the last try, so its owner sees the wrong length.
TEST_F(ChannelTest, BytesAfterACompleteReplyMeanItWasNotOursAndItIsAskedAgain) {
    rig->SendRead();
    rig->pty.WriteChunk(Bytes(5, 0xEE));
    rig->pty.WriteChunk(Sequence(19));
    EXPECT_EQ(rig->pty.ReadFromHost(4, 2s), (Bytes{0x12, 0x63, 0x4C, 0x63})) << "asked again";
    rig->pty.WriteChunk(Sequence(19));
    auto entries = rig->Settled(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_REPLY);
    EXPECT_EQ(entries[0].bytes, Sequence(19));

    Rig tooLong;
    tooLong.SendRead();
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0) {
            ASSERT_EQ(tooLong.pty.ReadFromHost(4, 2s).size(), 4u) << "attempt " << attempt;
        }
        tooLong.pty.WriteChunk(Sequence(25));
    }
    entries = tooLong.Settled(1);
    ASSERT_EQ(entries.size(), 1u);
    EXPECT_EQ(entries[0].message, WM_CHANNEL_REPLY);
    EXPECT_EQ(entries[0].bytes, Sequence(25));
}

TEST_F(ChannelTest, ClosingFromAnotherThreadWaitsForTheRunningHandler) {
    std::atomic<bool> handlerDone{false};
    rig->owner.DoInHandler([&](ChannelMessage) {
        std::this_thread::sleep_for(100ms);
        handlerDone = true;
    });
    rig->SendRead();
    rig->pty.WriteChunk(Sequence(19));
    // The reply settles for a quiet time before it is handed over, well within this.
    std::this_thread::sleep_for(50ms);
    rig->channel.reset();
    EXPECT_TRUE(handlerDone.load());
}

}  // namespace
