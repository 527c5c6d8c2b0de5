#include <windows.h>

#include <system_error>

#include "CReaderThread.h"

struct CReaderThread::Shared {
    std::atomic<bool> stop{false};
    HANDLE stopEvent = nullptr;

    ~Shared() {
        if (stopEvent != nullptr) {
            ::CloseHandle(stopEvent);
        }
    }
};

bool CReaderThread::Start(Callbacks callbacks) {
    auto shared = std::make_shared<Shared>();
    shared->stopEvent = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    if (shared->stopEvent == nullptr) {
        return false;
    }
    try {
        m_thread = std::thread(&CReaderThread::Run, shared, std::move(callbacks));
    } catch (const std::system_error&) {
        return false;
    }
    m_shared = std::move(shared);
    return true;
}

// An event, not TerminateThread: a thread killed inside the owner's handler would leave its
// locks held and its memory half-written.
void CReaderThread::RaiseStop(Shared& shared) {
    shared.stop = true;
    ::SetEvent(shared.stopEvent);
}

// After every callback the stop flag is checked before anything of the owner is touched again:
// a callback that closed the port has destroyed the owner under our feet.
void CReaderThread::Run(std::shared_ptr<Shared> shared, Callbacks callbacks) {
    while (!shared->stop) {
        const bool input = callbacks.waitForInput(shared->stopEvent);
        if (shared->stop) {
            return;
        }
        if (input) {
            callbacks.onReadable();
            if (shared->stop) {
                return;
            }
        }
        if (callbacks.isHungUp()) {
            // A vanished device is a state, not "no data": report it once and stop waiting.
            callbacks.onHangUp();
            return;
        }
    }
}
