#include "CLineSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

CLineSocket::CLineSocket(CLineSocket&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_buffer(std::move(other.m_buffer)) {}

CLineSocket& CLineSocket::operator=(CLineSocket&& other) noexcept {
    if (this != &other) {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
        m_fd = std::exchange(other.m_fd, -1);
        m_buffer = std::move(other.m_buffer);
    }
    return *this;
}

CLineSocket::~CLineSocket() {
    if (m_fd >= 0) {
        ::close(m_fd);
    }
}

bool CLineSocket::Write(const std::string& text) {
    std::size_t done = 0;
    while (m_fd >= 0 && done < text.size()) {
        const ssize_t n = ::send(m_fd, text.data() + done, text.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return done == text.size();
}

std::optional<std::string> CLineSocket::ReadLine(Clock::time_point deadline) {
    for (;;) {
        const auto end = m_buffer.find('\n');
        if (end != std::string::npos) {
            std::string line = m_buffer.substr(0, end);
            m_buffer.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r') {
                line.pop_back();
            }
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd ready{m_fd, POLLIN, 0};
        if (m_fd < 0 || left.count() <= 0 ||
            ::poll(&ready, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char chunk[4096];
        const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, 0);
        if (got <= 0) {
            return std::nullopt;
        }
        m_buffer.append(chunk, static_cast<std::size_t>(got));
    }
}
