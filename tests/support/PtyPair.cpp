#include "PtyPair.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <stdexcept>
#include <thread>

PtyPair::PtyPair() {
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    char name[128];
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0 ||
        ::ptsname_r(m_master, name, sizeof name) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    m_slavePath = name;
    m_observer = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios raw{};
    ::tcgetattr(m_observer, &raw);
    ::cfmakeraw(&raw);
    ::tcsetattr(m_observer, TCSANOW, &raw);
}

PtyPair::~PtyPair() {
    if (m_observer >= 0) {
        ::close(m_observer);
    }
    HangUp();
}

void PtyPair::WriteChunk(const std::vector<std::uint8_t>& bytes) {
    if (::write(m_master, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        throw std::runtime_error("short write to the pseudo-terminal");
    }
    // The pseudo-terminal hands written bytes to the other side from a kernel worker, so they
    // may not be counted as input yet right after write().
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    int unread = 1;
    while (std::chrono::steady_clock::now() < until) {
        if (::ioctl(m_observer, FIONREAD, &unread) != 0 || unread == 0) {
            return;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    throw std::runtime_error("the host did not read its input");
}

std::vector<std::uint8_t> PtyPair::ReadFromHost(std::size_t minimum,
                                                std::chrono::milliseconds limit) {
    std::vector<std::uint8_t> got;
    const auto until = std::chrono::steady_clock::now() + limit;
    while (got.size() < minimum) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            until - std::chrono::steady_clock::now());
        pollfd in{m_master, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&in, 1, static_cast<int>(left.count())) <= 0) {
            break;
        }
        std::uint8_t chunk[512];
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0) {
            break;
        }
        got.insert(got.end(), chunk, chunk + n);
    }
    return got;
}

void PtyPair::StopHostOutput() {
    ::tcflow(m_observer, TCOOFF);
}

void PtyPair::HangUp() {
    if (m_observer >= 0) {
        ::close(m_observer);
        m_observer = -1;
    }
    if (m_master >= 0) {
        ::close(m_master);
        m_master = -1;
    }
}
