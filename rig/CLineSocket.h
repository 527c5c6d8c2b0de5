#pragma once

#include <chrono>
#include <optional>
#include <string>

// One end of a stream socket that carries text lines, read with a deadline.
class CLineSocket {
public:
    using Clock = std::chrono::steady_clock;

    CLineSocket() = default;
    explicit CLineSocket(int fd) : m_fd(fd) {}
    CLineSocket(const CLineSocket&) = delete;
    CLineSocket& operator=(const CLineSocket&) = delete;
    CLineSocket(CLineSocket&& other) noexcept;
    CLineSocket& operator=(CLineSocket&& other) noexcept;
    ~CLineSocket();

    bool IsOpen() const { return m_fd >= 0; }
    bool Write(const std::string& text);
    // The next line without its end ("\n", and a "\r" before it); nullopt when the deadline
    // passed or the other end closed.
    std::optional<std::string> ReadLine(Clock::time_point deadline);
    // Everything read but not yet returned as a line.
    const std::string& Pending() const { return m_buffer; }

private:
    int m_fd = -1;
    std::string m_buffer;
};
