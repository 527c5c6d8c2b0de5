#pragma once

#include <chrono>
#include <string>

#include "CLineSocket.h"

// The guest's control shell on its second UART: sends one command line, collects what it
// prints up to the "@@END <exit code>" line.
class CGuestShell {
public:
    struct Result {
        int exitCode = -1;  // -1: no end line before the deadline
        std::string output;
        double seconds = 0;
    };

    void Attach(CLineSocket socket) { m_socket = std::move(socket); }
    // Waits for the guest's "@@READY" line; the kernel's boot messages before it are kept.
    bool WaitReady(std::chrono::seconds timeout);
    Result Run(const std::string& command, std::chrono::seconds timeout = std::chrono::seconds(60));
    const std::string& BootLog() const { return m_bootLog; }

private:
    CLineSocket m_socket;
    std::string m_bootLog;
};
