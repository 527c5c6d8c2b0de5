#include "CAsyncFileRead.h"

#include <thread>

CAsyncFileRead::CAsyncFileRead(QObject* receiver, Done done, Reader reader)
    : m_shared(std::make_shared<Shared>()), m_done(std::move(done)), m_reader(std::move(reader)) {
    m_shared->receiver = receiver;
}

CAsyncFileRead::~CAsyncFileRead() {
    std::lock_guard lock(m_shared->mutex);
    m_shared->receiver = nullptr;
}

// The thread is detached: a read stuck in the file system must not hold up the window, nor the
// program's exit. The result is queued to the receiver, so the window handles it in its own
// time; a result that is no longer the latest is dropped on either side of the queue.
void CAsyncFileRead::Start(const std::string& path) {
    std::uint64_t serial = 0;
    {
        std::lock_guard lock(m_shared->mutex);
        serial = ++m_shared->latest;
    }
    std::thread([shared = m_shared, done = m_done, reader = m_reader, path, serial] {
        DataFileResult result = reader(path);
        std::lock_guard lock(shared->mutex);
        if (shared->receiver == nullptr || shared->latest != serial) {
            return;
        }
        QMetaObject::invokeMethod(
            shared->receiver,
            [shared, done, serial, result = std::move(result)]() mutable {
                std::unique_lock latest(shared->mutex);
                const bool wanted = shared->receiver != nullptr && shared->latest == serial;
                latest.unlock();
                if (wanted) {
                    done(std::move(result));
                }
            },
            Qt::QueuedConnection);
    }).detach();
}
