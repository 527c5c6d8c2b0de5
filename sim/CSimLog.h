#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// A complete command as the printer took it, and when.
struct SimCommandRecord {
    std::chrono::steady_clock::time_point when;
    std::vector<std::uint8_t> bytes;
};

struct SimLogLimits {
    std::size_t bytes = 1 << 20;
    std::size_t commands = 4096;
    std::size_t fileBytes = 16 << 20;
};

// What the simulated printer heard, for tests to look at: the latest bytes and commands only,
// so a simulator that runs for days does not grow. Optionally also a text file for people,
// one line per chunk in either direction, which stops at its own size limit.
class CSimLog {
public:
    explicit CSimLog(SimLogLimits limits = {}) : m_limits(limits) {}
    CSimLog(const CSimLog&) = delete;
    CSimLog& operator=(const CSimLog&) = delete;
    ~CSimLog();

    // False when the file cannot be opened.
    bool OpenFile(const std::string& path);
    void Heard(const std::vector<std::uint8_t>& bytes,
               const std::vector<std::vector<std::uint8_t>>& commands);
    void Said(const std::uint8_t* data, std::size_t length);

    std::vector<std::uint8_t> ReceivedBytes() const;
    std::vector<SimCommandRecord> Commands() const;
    void Clear();
    // Counts every byte and command since the last Clear, also those the ring has let go.
    bool WaitForReceived(std::size_t byteCount, std::chrono::milliseconds timeout) const;
    bool WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const;

private:
    void WriteLine(const char* direction, const std::uint8_t* data, std::size_t length);

    SimLogLimits m_limits;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    std::deque<std::uint8_t> m_received;
    std::deque<SimCommandRecord> m_commands;
    std::size_t m_receivedTotal = 0;
    std::size_t m_commandsTotal = 0;
    std::FILE* m_file = nullptr;
    std::size_t m_fileBytes = 0;
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};
