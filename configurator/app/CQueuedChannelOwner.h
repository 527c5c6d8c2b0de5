#pragma once

#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <vector>

#include "ChannelMessages.h"

// Carries one connection's notifications from the channel's threads to the window's thread,
// with a copy of the bytes. Nothing waits for the window, so it may close the connection while
// a notification is on its way; the window tells stale ones by the connection number.
class CQueuedChannelOwner final : public IChannelOwner {
public:
    using Handler =
        std::function<void(std::uint64_t connection, ChannelMessage, std::vector<std::uint8_t>)>;

    CQueuedChannelOwner(QObject* window, std::uint64_t connection, Handler handler);
    void OnChannelMessage(ChannelMessage message, std::span<const std::uint8_t> bytes) override;

private:
    QPointer<QObject> m_window;
    std::uint64_t m_connection;
    Handler m_handler;
};
