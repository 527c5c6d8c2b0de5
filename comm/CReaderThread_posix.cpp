#include "CReaderThread.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>

struct CReaderThread::Shared {
    std::atomic<bool> stop{false};
    int wake[2]{-1, -1};

    ~Shared() {
        for (int fd : wake) {
            if (fd >= 0) {
                ::close(fd);
            }
        }
    }
};

bool CReaderThread::Start(int fd, Callbacks callbacks) {
    auto shared = std::make_shared<Shared>();
    if (::pipe2(shared->wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    try {
        m_thread = std::thread(&CReaderThread::Run, shared, fd, std::move(callbacks));
    } catch (const std::system_error&) {
        return false;
    }
    m_shared = std::move(shared);
    return true;
}

void CReaderThread::RaiseStop(Shared& shared) {
    shared.stop = true;
    const char wakeByte = 1;
    [[maybe_unused]] ssize_t written = ::write(shared.wake[1], &wakeByte, 1);
}

// After every callback the stop flag is checked before anything of the owner is touched again:
// a callback that closed the port has destroyed the owner under our feet.
void CReaderThread::Run(std::shared_ptr<Shared> shared, int fd, Callbacks callbacks) {
    while (!shared->stop) {
        pollfd fds[2] = {{fd, POLLIN, 0}, {shared->wake[0], POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (shared->stop) {
            return;
        }
        bool lineGone = (fds[0].revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
        if ((fds[0].revents & POLLIN) != 0) {
            callbacks.onReadable();
            if (shared->stop) {
                return;
            }
            lineGone = lineGone || callbacks.isHungUp();
        }
        if (lineGone) {
            // A hang-up is a state, not "no data": stop here instead of spinning on POLLHUP.
            callbacks.onHangUp();
            return;
        }
    }
}
