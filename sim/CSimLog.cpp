#include "CSimLog.h"

CSimLog::~CSimLog() {
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool CSimLog::OpenFile(const std::string& path) {
    m_file = std::fopen(path.c_str(), "w");
    return m_file != nullptr;
}

void CSimLog::Heard(const std::vector<std::uint8_t>& bytes,
                    const std::vector<std::vector<std::uint8_t>>& commands) {
    {
        std::lock_guard lock(m_mutex);
        m_received.insert(m_received.end(), bytes.begin(), bytes.end());
        while (m_received.size() > m_limits.bytes) {
            m_received.pop_front();
        }
        m_receivedTotal += bytes.size();
        const auto now = std::chrono::steady_clock::now();
        for (const auto& command : commands) {
            m_commands.push_back({now, command});
            if (m_commands.size() > m_limits.commands) {
                m_commands.pop_front();
            }
        }
        m_commandsTotal += commands.size();
        WriteLine("host    ", bytes.data(), bytes.size());
    }
    m_changed.notify_all();
}

void CSimLog::Said(const std::uint8_t* data, std::size_t length) {
    std::lock_guard lock(m_mutex);
    WriteLine("printer ", data, length);
}

// "  12.345 host     12 63 4C 63"; the last line says when the limit was reached.
void CSimLog::WriteLine(const char* direction, const std::uint8_t* data, std::size_t length) {
    if (m_file == nullptr || length == 0 || m_fileBytes >= m_limits.fileBytes) {
        return;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
    int written = std::fprintf(m_file, "%10.3f %s", seconds, direction);
    for (std::size_t i = 0; i < length; ++i) {
        written += std::fprintf(m_file, " %02X", data[i]);
    }
    written += std::fprintf(m_file, "\n");
    m_fileBytes += static_cast<std::size_t>(std::max(0, written));
    if (m_fileBytes >= m_limits.fileBytes) {
        std::fprintf(m_file, "log limit of %zu bytes reached; nothing more is written\n",
                     m_limits.fileBytes);
    }
    std::fflush(m_file);
}

std::vector<std::uint8_t> CSimLog::ReceivedBytes() const {
    std::lock_guard lock(m_mutex);
    return {m_received.begin(), m_received.end()};
}

std::vector<SimCommandRecord> CSimLog::Commands() const {
    std::lock_guard lock(m_mutex);
    return {m_commands.begin(), m_commands.end()};
}

void CSimLog::Clear() {
    std::lock_guard lock(m_mutex);
    m_received.clear();
    m_commands.clear();
    m_receivedTotal = 0;
    m_commandsTotal = 0;
}

bool CSimLog::WaitForReceived(std::size_t byteCount, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_receivedTotal >= byteCount; });
}

bool CSimLog::WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_commandsTotal >= count; });
}
