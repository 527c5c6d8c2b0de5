#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

#include "CLineQuiet.h"
#include "CLoadProtocol.h"
#include "CTransport.h"
#include "CWatchTimer.h"
#include "ChannelConfig.h"
#include "LoadMessages.h"

// The printer must answer each request, and each part of a reply must follow the one before,
// within this time.
inline constexpr std::chrono::milliseconds kLoadReplyWatch{2000};
// How long closing the link waits for the printer's answer to the last block-done request.
inline constexpr std::chrono::milliseconds kLastReplyWait{500};

// One load: opens the line (8N1, no flow control), runs the block protocol on the port's reader
// thread with a reply watchdog, and reports every ending once to its owner.
class CLoadLink final : private IInputSink {
public:
    // The line is the serial port at the given speed, or a TCP connection, as its transport says.
    CLoadLink(ILoadOwner& owner, CLoadData& data, const ChannelConfig& line);
    CLoadLink(const CLoadLink&) = delete;
    CLoadLink& operator=(const CLoadLink&) = delete;
    // Takes the printer's answer to the last block-done request (at most kLastReplyWait), then
    // closes the line before anything else, so its reader can no longer reach the link.
    ~CLoadLink() override;

    bool IsOpen() const;
    // Why the line did not open.
    OpenFailure LastOpenFailure() const;
    // Why the line was lost, once LM_LINE_LOST has been reported.
    LineLoss LastLineLoss() const;
    void StartProgramLoad();
    void StartFontLoad();
    bool IsBusy() const;
    // Ends a running load: nothing more is written (a request already under way is finished
    // first, so the printer never holds half of one) and nothing more is reported. False when
    // the load had ended already and its ending is on its way to the owner.
    bool Stop();
    void SetWatchdogLength(std::chrono::milliseconds length);

private:
    void OnDataAvailable() override;
    void OnHangUp() override;
    void OnWatchdogExpired(std::uint64_t ticket);
    // Writes the step's request and arms the watchdog; a failed write turns the step into the
    // line-lost ending. Called with the lock held.
    void Perform(CLoadProtocol::Step& step);
    void TakeLastReply(int got);
    void Report(const CLoadProtocol::Step& step);
    void WaitUntilQuiet(std::unique_lock<std::mutex>& lock);

    ILoadOwner& m_owner;
    mutable std::mutex m_mutex;
    CLoadProtocol m_protocol;
    std::chrono::milliseconds m_watchdogLength = kLoadReplyWatch;
    std::uint64_t m_watchdogTicket = 0;
    bool m_closing = false;
    CLineQuiet m_quiet;
    // Sleeps until the line is quiet with the lock released, so the reader can still count
    // arrivals; a timed wait, nobody notifies it.
    std::condition_variable m_quietWait;
    std::size_t m_lastReplyMissing = 0;  // bytes of the last block-done answer still to come
    std::condition_variable m_lastReplyTaken;
    CWatchTimer m_watchdog;
    std::unique_ptr<CTransport> m_transport;
};
