#include "CQueuedChannelOwner.h"

CQueuedChannelOwner::CQueuedChannelOwner(QObject* window, std::uint64_t connection, Handler handler)
    : m_window(window), m_connection(connection), m_handler(std::move(handler)) {}

void CQueuedChannelOwner::OnChannelMessage(ChannelMessage message,
                                           std::span<const std::uint8_t> bytes) {
    QMetaObject::invokeMethod(
        m_window.data(),
        [handler = m_handler, connection = m_connection, message,
         copy = std::vector<std::uint8_t>(bytes.begin(), bytes.end())] {
            handler(connection, message, copy);
        },
        Qt::QueuedConnection);
}
