#include "ReplyWaiter.h"

#include <utility>

void CReplyWaiter::OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = Notification{message, {bytes.begin(), bytes.end()}};
    }
    m_arrived.notify_one();
}

CReplyWaiter::Notification CReplyWaiter::WaitForEnd() {
    std::unique_lock lock(m_mutex);
    m_arrived.wait(lock, [this] { return m_pending.has_value(); });
    return *std::exchange(m_pending, std::nullopt);
}
