#include "ReplyWaiter.h"

#include <utility>

void CReplyWaiter::OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) {
    {
        std::lock_guard lock(m_mutex);
        m_pending = Notification{message, {bytes.begin(), bytes.end()}};
    }
    m_arrived.notify_one();
}

std::optional<CReplyWaiter::Notification> CReplyWaiter::Wait(std::chrono::milliseconds limit) {
    std::unique_lock lock(m_mutex);
    m_arrived.wait_for(lock, limit, [this] { return m_pending.has_value(); });
    return std::exchange(m_pending, std::nullopt);
}
