#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <filesystem>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "SimProtocol.h"

// The simulator's paper: what the host sends to print, drawn as one PNG per receipt in a
// folder (receipt-0001.png, ...). The printer has no cut command, so a receipt ends after a
// second with nothing heard. It prints with the settings record the printer held when the
// bytes that first moved the paper came; bytes that leave no mark (a settings conversation)
// make no file.
class CSimPaper {
public:
    static constexpr std::chrono::milliseconds kReceiptQuiet{1000};

    explicit CSimPaper(std::filesystem::path folder);
    CSimPaper(const CSimPaper&) = delete;
    CSimPaper& operator=(const CSimPaper&) = delete;
    // Prints what is still waiting for its quiet second.
    ~CSimPaper();

    void Heard(std::span<const std::uint8_t> bytes, const CSimProtocol::Record& record);
    // The files written so far, oldest first.
    std::vector<std::filesystem::path> Written() const;

private:
    void Run();
    void PrintReceipt(const std::vector<std::uint8_t>& bytes, const CSimProtocol::Record& record);

    std::filesystem::path m_folder;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    std::vector<std::uint8_t> m_pending;
    CSimProtocol::Record m_record{};
    bool m_paperMoved = false;
    std::chrono::steady_clock::time_point m_lastHeard{};
    std::vector<std::filesystem::path> m_written;
    int m_next = 1;
    bool m_stop = false;
    std::thread m_thread;
};
