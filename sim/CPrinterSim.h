#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "CSimDeviceLink.h"
#include "CSimLog.h"
#include "SimProtocol.h"

// Faults the simulated printer can be told to show in its replies.
enum class SimFaultKind {
    None,
    Silence,      // answers nothing
    WrongLength,  // every reply is longer (or shorter) by lengthDelta bytes
    Trickle,      // every reply comes one byte at a time, trickleGap apart
    HangUp,       // sends hangUpAfter bytes of the next reply, then hangs up the line
};

struct SimFault {
    SimFaultKind kind = SimFaultKind::None;
    int lengthDelta = 1;
    std::chrono::milliseconds trickleGap{50};
    std::size_t hangUpAfter = 5;
};

struct SimOptions {
    bool pty = true;
    bool tcp = false;
    std::uint16_t tcpPort = 0;  // 0: any free port on 127.0.0.1
    bool pace = false;          // bytes take as long as on a real line in both directions
    bool checkLine = true;      // refuse a host whose line settings differ from the printer's
    // The printer's line goes away once it has answered this block of its first program load,
    // as when an adapter is pulled, and comes back replugAfter later (0: never unplugged).
    std::size_t unplugAtBlock = 0;
    std::chrono::milliseconds replugAfter{1000};
    SimLogLimits logLimits{};
};

// The printer on the far end of a pseudo-terminal and, optionally, a TCP port on 127.0.0.1.
class CPrinterSim {
public:
    explicit CPrinterSim(SimOptions options = {});
    CPrinterSim(const CPrinterSim&) = delete;
    CPrinterSim& operator=(const CPrinterSim&) = delete;
    ~CPrinterSim();

    bool Start();
    void Stop();

    // The pseudo-terminal; a new one after every unplug.
    std::string DevicePath() const;
    std::uint16_t TcpPort() const { return m_tcpPort; }
    // Makes a symbolic link to the pseudo-terminal that follows it across unplugs and is
    // removed on Stop(); call after Start().
    CSimDeviceLink::Result LinkTo(const std::string& path);
    // False when the line is still unplugged after the timeout.
    bool WaitPluggedIn(std::chrono::milliseconds timeout) const;

    void InjectFault(const SimFault& fault);
    void SetPacing(bool pace);
    // Runs with the printer's state locked, for setting it up or looking at it.
    void WithProtocol(const std::function<void(CSimProtocol&)>& use);
    CSimProtocol::Record Current();

    // The latest bytes and commands the printer heard (see CSimLog).
    std::vector<std::uint8_t> ReceivedBytes() const { return m_log.ReceivedBytes(); }
    std::vector<SimCommandRecord> Commands() const { return m_log.Commands(); }
    // Every byte the printer has sent, replies and noise alike.
    std::size_t BytesSent() const { return m_bytesSent; }
    void ClearLog();
    bool WaitForReceived(std::size_t byteCount, std::chrono::milliseconds timeout) const {
        return m_log.WaitForReceived(byteCount, timeout);
    }
    bool WaitForCommands(std::size_t count, std::chrono::milliseconds timeout) const {
        return m_log.WaitForCommands(count, timeout);
    }
    // Hands every chunk the printer hears outside its boot area, with the record it holds, to
    // `listener` (the paper); call before Start().
    using PrintListener =
        std::function<void(std::span<const std::uint8_t>, const CSimProtocol::Record&)>;
    void SetPrintListener(PrintListener listener) { m_printListener = std::move(listener); }
    // Also writes every chunk in both directions to a text file; call before Start().
    bool LogToFile(const std::string& path) { return m_log.OpenFile(path); }

private:
    enum class Source { Pty, Tcp };

    void Run();
    void ServeListener();
    void ServePty();
    void ServeClient();
    // The TCP host hung up or was hung up on: the queued one, if any, takes its place.
    void EndClient();
    void HandleInput(std::vector<std::uint8_t> bytes, Source source);
    void SendReply(std::vector<std::uint8_t> reply, Source source);
    bool WriteAll(const std::uint8_t* data, std::size_t length, Source source);
    bool WritePaced(const std::uint8_t* data, std::size_t length, Source source);
    void CloseSource(Source source);
    void Unplug(Source source);
    void PlugIn();
    bool OpenPty();
    // Waits, within the host's reply watch, until the host sends again: then it has what the
    // printer answered before the line went.
    void WaitForHostRequest();
    // Sleeps until the time given; false when the simulator is being stopped.
    bool SleepUntil(std::chrono::steady_clock::time_point until);
    std::chrono::nanoseconds ByteTime();

    SimOptions m_options;
    int m_master = -1;
    int m_slaveKeeper = -1;
    int m_listener = -1;
    int m_client = -1;
    int m_queued = -1;
    int m_wake[2]{-1, -1};
    std::uint16_t m_tcpPort = 0;
    bool m_unplugPending = false;  // the unplug at a block has yet to come
    std::optional<std::chrono::steady_clock::time_point> m_plugInAt;

    // The line as hosts find it; the simulator's thread changes it on an unplug.
    mutable std::mutex m_lineMutex;
    mutable std::condition_variable m_lineChanged;
    std::string m_devicePath;
    std::optional<CSimDeviceLink> m_link;
    bool m_pluggedIn = true;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<std::size_t> m_bytesSent{0};

    std::mutex m_stateMutex;
    CSimProtocol m_protocol;
    SimFault m_fault;
    bool m_pace = false;
    std::chrono::steady_clock::time_point m_inputWireClock{};
    std::uint32_t m_noise = 0x2545F491;

    CSimLog m_log;
    PrintListener m_printListener;
};
