#pragma once

#include <cstdint>
#include <span>

// Message identifiers kept from the window-message design; tests and windows refer to them.
inline constexpr unsigned kWmUser = 0x0400;

enum ChannelMessage : unsigned {
    WM_CHANNEL_TIMEOUT = kWmUser + 10,     // a fixed-length or pattern reply did not complete
    WM_CHANNEL_CHUNK = kWmUser + 20,       // bytes received in stream mode
    WM_CHANNEL_STREAM_END = kWmUser + 21,  // a stream fell silent for a whole watch
    WM_CHANNEL_REPLY = kWmUser + 30,       // a complete reply
    WM_CHANNEL_LINE_LOST = kWmUser + 31,   // the device or peer went away (hang-up, unplug)
};

// Receives the channel's notifications. CHUNK and LINE_LOST arrive on the port's reader thread;
// REPLY (once the line stayed quiet after it), STREAM_END and TIMEOUT on the watch thread; a
// reply handed over as it is after its last try comes on the reader thread. The bytes are valid
// only during the call. A handler may send the next request or destroy the channel; it
// must not block on another thread that could be closing the channel (a window adapter copies the
// bytes and queues them).
class IChannelOwner {
public:
    virtual ~IChannelOwner() = default;
    virtual void OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) = 0;
};
