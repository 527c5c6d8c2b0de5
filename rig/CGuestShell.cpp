#include "CGuestShell.h"

bool CGuestShell::WaitReady(std::chrono::seconds timeout) {
    const auto deadline = CLineSocket::Clock::now() + timeout;
    while (auto line = m_socket.ReadLine(deadline)) {
        m_bootLog += *line + "\n";
        if (line->starts_with("@@READY")) {
            return true;
        }
    }
    m_bootLog += m_socket.Pending();
    return false;
}

CGuestShell::Result CGuestShell::Run(const std::string& command, std::chrono::seconds timeout) {
    const auto start = CLineSocket::Clock::now();
    Result result;
    if (!m_socket.Write(command + "\n")) {
        return result;
    }
    while (auto line = m_socket.ReadLine(start + timeout)) {
        if (line->starts_with("@@END ")) {
            result.exitCode = std::stoi(line->substr(6));
            break;
        }
        result.output += *line + "\n";
    }
    result.seconds = std::chrono::duration<double>(CLineSocket::Clock::now() - start).count();
    return result;
}
