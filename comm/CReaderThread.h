#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

// One thread that waits for input on a descriptor and reports it. Stop() ends it from any
// thread, including from inside its own callbacks, without waiting for itself.
class CReaderThread {
public:
    struct Callbacks {
        std::function<void()> onReadable;  // may stop this reader and destroy its owner
        std::function<bool()> isHungUp;    // asked only while the reader is still wanted
        std::function<void()> onHangUp;    // called once when the line is gone; may destroy too
    };

    CReaderThread() = default;
    CReaderThread(const CReaderThread&) = delete;
    CReaderThread& operator=(const CReaderThread&) = delete;
    ~CReaderThread();

    // False when the thread could not be started.
    bool Start(int fd, Callbacks callbacks);
    void Stop();

private:
    struct Shared;
    static void Run(std::shared_ptr<Shared> shared, int fd, Callbacks callbacks);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
};
