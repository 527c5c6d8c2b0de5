// Feeds random replies, in random chunks, to the command channel under every reply mode and
// pattern description, and checks that each request ends exactly once.
#include <fuzzer/FuzzedDataProvider.h>

#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "CCommandChannel.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// Hands the fuzzer's chunks to the channel exactly as they are cut, which no real line can.
class ChunkTransport final : public CTransport {
public:
    explicit ChunkTransport(IInputSink& sink) : m_sink(sink) {}
    bool IsOpen() const override { return true; }
    bool Open() override { return true; }
    bool Close() override { return true; }
    int Write(const std::uint8_t*, int length) override { return length; }
    int Read(std::uint8_t* buffer, int capacity) override {
        const auto count = std::min(m_pending.size(), static_cast<std::size_t>(capacity));
        std::copy_n(m_pending.begin(), count, buffer);
        m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(count));
        return static_cast<int>(count);
    }
    bool PurgeInput() override { return false; }
    bool PurgeOutput() override { return false; }

    void Arrive(const Bytes& chunk) {
        m_pending.insert(m_pending.end(), chunk.begin(), chunk.end());
        m_sink.OnDataAvailable();
    }

private:
    IInputSink& m_sink;
    Bytes m_pending;
};

class Tally final : public IChannelOwner {
public:
    void OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) override {
        std::lock_guard lock(m_mutex);
        if (message == WM_CHANNEL_CHUNK) {
            chunked.insert(chunked.end(), bytes.begin(), bytes.end());
        } else {
            endings.push_back({message, Bytes(bytes.begin(), bytes.end())});
        }
        m_changed.notify_all();
    }
    void WaitForEnding() {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, std::chrono::seconds(2), [this] { return !endings.empty(); });
    }

    Bytes chunked;
    std::vector<std::pair<ChannelMessage, Bytes>> endings;

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
};

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    Tally tally;
    ChunkTransport* transport = nullptr;
    auto channel = std::make_unique<CCommandChannel>(&tally, [&](IInputSink& sink) {
        auto made = std::make_unique<ChunkTransport>(sink);
        transport = made.get();
        return made;
    });
    channel->SetWatchLength(std::chrono::milliseconds(1));

    const std::uint8_t frame = 0x10;
    const int request = input.ConsumeIntegralInRange(0, 2);
    bool awaited = true;
    if (request == 0) {
        channel->Send(&frame, 1, true, input.ConsumeIntegralInRange(-2, 300));
    } else if (request == 1) {
        channel->Send(&frame, 1, false, 0);
        awaited = false;
    } else {
        const int kind = input.ConsumeIntegralInRange(15, 18);
        const Bytes pattern = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(0, 70));
        awaited = IsAcceptablePattern(kind, pattern.data(), static_cast<int>(pattern.size()));
        channel->SendAwaitPattern(&frame, 1, kind, pattern.data(),
                                  static_cast<int>(pattern.size()));
    }
    Bytes fed;
    while (input.remaining_bytes() > 0) {
        const Bytes chunk = input.ConsumeBytes<std::uint8_t>(input.ConsumeIntegralInRange(1, 64));
        fed.insert(fed.end(), chunk.begin(), chunk.end());
        transport->Arrive(chunk);
    }
    if (awaited) {
        tally.WaitForEnding();
    }
    channel.reset();

    // Each request ends at most once, and an awaited one ends exactly once.
    Require(tally.endings.size() == (awaited ? 1u : 0u));
    for (const auto& [message, bytes] : tally.endings) {
        if (message == WM_CHANNEL_REPLY) {
            Require(bytes.size() <= fed.size() &&
                    std::equal(bytes.begin(), bytes.end(), fed.begin()));
        } else {
            Require(bytes.empty() || message == WM_CHANNEL_STREAM_END);
        }
    }
    // Stream chunks carry exactly what arrived, in order.
    Require(tally.chunked.size() <= fed.size() &&
            std::equal(tally.chunked.begin(), tally.chunked.end(), fed.begin()));
    return 0;
}
