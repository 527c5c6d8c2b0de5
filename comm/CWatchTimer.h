#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The time-out watch of a pending request: one thread that sleeps on a condition variable until
// the armed deadline, so the CPU stays idle for the whole watch. Each Arm() returns a ticket that
// the expiry callback receives; the owner ignores tickets it has since cancelled. The callback
// may destroy the timer's owner.
class CWatchTimer {
public:
    using Expiry = std::function<void(std::uint64_t ticket)>;

    // Starts the watch thread; when the system cannot start it, IsRunning() says so and the
    // timer never expires.
    explicit CWatchTimer(Expiry onExpiry);
    CWatchTimer(const CWatchTimer&) = delete;
    CWatchTimer& operator=(const CWatchTimer&) = delete;
    ~CWatchTimer();

    bool IsRunning() const { return m_thread.joinable(); }

    std::uint64_t Arm(std::chrono::milliseconds length);
    void Cancel();
    // Ends the thread; safe from inside the expiry callback.
    void Stop();

private:
    struct Shared;
    static void Run(std::shared_ptr<Shared> shared, Expiry onExpiry);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
