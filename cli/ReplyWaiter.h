#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

#include "ChannelMessages.h"

// Turns the channel's notifications into a blocking call for the command line: the reader
// thread only hands the bytes over; the main thread does everything else.
class CReplyWaiter final : public IChannelOwner {
public:
    struct Notification {
        ChannelMessage message;
        std::vector<std::uint8_t> bytes;
    };

    void OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) override;
    // The notification that ends a request awaiting a reply. The channel's watch guarantees one
    // (the reply or its time-out), and restarts with every part of a reply that trickles in, so
    // no total limit of our own may cut a slow reply short.
    Notification WaitForEnd();

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::optional<Notification> m_pending;
};
