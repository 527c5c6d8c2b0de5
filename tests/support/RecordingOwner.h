#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "ChannelMessages.h"

// Records every notification of a channel, with when and on which thread it came. A test may
// give it something to do inside the handler, such as closing the channel.
class RecordingOwner final : public IChannelOwner {
public:
    struct Entry {
        ChannelMessage message;
        std::vector<std::uint8_t> bytes;
        std::chrono::steady_clock::time_point when;
        std::thread::id thread;
    };

    void OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) override {
        {
            std::lock_guard lock(m_mutex);
            m_entries.push_back({message,
                                 {bytes.begin(), bytes.end()},
                                 std::chrono::steady_clock::now(),
                                 std::this_thread::get_id()});
        }
        if (m_inHandler) {
            m_inHandler(message);
        }
        // Notified under the lock: once a waiter sees the count, the owner may be destroyed.
        std::lock_guard lock(m_mutex);
        ++m_handled;
        m_changed.notify_all();
    }

    void DoInHandler(std::function<void(ChannelMessage)> action) {
        m_inHandler = std::move(action);
    }

    bool WaitFor(std::size_t count, std::chrono::milliseconds limit) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, limit, [&] { return m_handled >= count; });
    }

    std::vector<Entry> Entries() {
        std::lock_guard lock(m_mutex);
        return m_entries;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<Entry> m_entries;
    std::size_t m_handled = 0;
    std::function<void(ChannelMessage)> m_inHandler;
};
