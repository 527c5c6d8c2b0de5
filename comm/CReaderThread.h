#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// One thread that waits for input and reports it. Stop() ends it from any thread, including
// from inside its own callbacks, without waiting for itself.
class CReaderThread {
public:
    struct Callbacks {
        std::function<void()> onReadable;  // may stop this reader and destroy its owner
        std::function<bool()> isHungUp;    // asked only while the reader is still wanted
        std::function<void()> onHangUp;    // called once when the line is gone; may destroy too
#ifdef _WIN32
        // Blocks until input may have arrived (true) or the wait ended without it (false). It
        // is handed the reader's stop event, an event handle, and must return once that is set.
        std::function<bool(void* stopEvent)> waitForInput;
#endif
    };

    CReaderThread() = default;
    CReaderThread(const CReaderThread&) = delete;
    CReaderThread& operator=(const CReaderThread&) = delete;
    ~CReaderThread();

    // False when the thread could not be started.
#ifdef _WIN32
    bool Start(Callbacks callbacks);
#else
    bool Start(int fd, Callbacks callbacks);
#endif
    void Stop();

private:
    struct Shared;
    // Tells the thread to stop and wakes it from its wait.
    static void RaiseStop(Shared& shared);
#ifdef _WIN32
    static void Run(std::shared_ptr<Shared> shared, Callbacks callbacks);
#else
    static void Run(std::shared_ptr<Shared> shared, int fd, Callbacks callbacks);
#endif

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
