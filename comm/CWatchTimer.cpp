#include "CWatchTimer.h"

#include <optional>
#include <system_error>

#include "ThreadExit.h"

struct CWatchTimer::Shared {
    std::mutex mutex;
    std::condition_variable changed;
    std::optional<std::chrono::steady_clock::time_point> deadline;
    std::uint64_t ticket = 0;
    bool stop = false;
};

CWatchTimer::CWatchTimer(Expiry onExpiry) : m_shared(std::make_shared<Shared>()) {
    try {
        m_thread = std::thread(&CWatchTimer::Run, m_shared, std::move(onExpiry));
    } catch (const std::system_error&) {
        // Reported by the owner through IsRunning(); an exception must not leave a connect.
    }
}

CWatchTimer::~CWatchTimer() {
    Stop();
}

std::uint64_t CWatchTimer::Arm(std::chrono::milliseconds length) {
    std::lock_guard lock(m_shared->mutex);
    m_shared->deadline = std::chrono::steady_clock::now() + length;
    ++m_shared->ticket;
    m_shared->changed.notify_one();
    return m_shared->ticket;
}

void CWatchTimer::Cancel() {
    std::lock_guard lock(m_shared->mutex);
    m_shared->deadline.reset();
    m_shared->changed.notify_one();
}

void CWatchTimer::Stop() {
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->stop = true;
        m_shared->deadline.reset();
    }
    m_shared->changed.notify_one();
    JoinOrDetach(m_thread);
}

void CWatchTimer::Run(std::shared_ptr<Shared> shared, Expiry onExpiry) {
    std::unique_lock lock(shared->mutex);
    while (!shared->stop) {
        if (!shared->deadline) {
            shared->changed.wait(lock);
            continue;
        }
        if (std::chrono::steady_clock::now() < *shared->deadline) {
            shared->changed.wait_until(lock, *shared->deadline);
            continue;
        }
        shared->deadline.reset();
        const std::uint64_t ticket = shared->ticket;
        // The callback takes the owner's lock; never call it holding ours.
        lock.unlock();
        onExpiry(ticket);
        lock.lock();
    }
}
