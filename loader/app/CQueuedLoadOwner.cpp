#include "CQueuedLoadOwner.h"

CQueuedLoadOwner::CQueuedLoadOwner(QObject* window, Handler onMessage,
                                   std::function<void()> onRecord)
    : m_window(window), m_onMessage(std::move(onMessage)), m_onRecord(std::move(onRecord)) {}

void CQueuedLoadOwner::OnLoadMessage(LoadMessage message) {
    QMetaObject::invokeMethod(
        m_window.data(), [handler = m_onMessage, message] { handler(message); },
        Qt::QueuedConnection);
}

void CQueuedLoadOwner::OnRecordTaken() {
    QMetaObject::invokeMethod(m_window.data(), m_onRecord, Qt::QueuedConnection);
}
