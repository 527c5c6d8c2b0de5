#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "CLineQuiet.h"
#include "CTransport.h"
#include "CWatchTimer.h"
#include "ChannelConfig.h"
#include "ChannelMessages.h"
#include "ReplyRule.h"

// A reply must begin, and each later part of it follow the one before, within this time.
inline constexpr std::chrono::milliseconds kReplyWatch{2000};

// Writes request frames and collects the replies: a fixed length, a terminator pattern or a
// length field, under a time-out watch. Every request ends in exactly one notification to the
// owner (or in silence when no reply is awaited); a new request silently replaces a pending one.
//
// Conversations are kept apart (see CLineQuiet): a request that expects a reply goes out once
// the line is quiet, and a reply counts once the line stays quiet after it. Bytes after a
// complete reply mean it was not ours: it is discarded and the request asked again (requests
// with replies only read), and after the last try everything collected is delivered, so the
// owner sees a reply of the wrong length. A lost line is reported once, at once.
class CCommandChannel final : private IInputSink {
public:
    using TransportFactory = std::function<std::unique_ptr<CTransport>(IInputSink&)>;

    CCommandChannel(IChannelOwner* owner, const ChannelConfig& config);
    // Opens the transport at once; without a watch thread it opens nothing and says why.
    CCommandChannel(IChannelOwner* owner, const TransportFactory& makeTransport);
    CCommandChannel(const CCommandChannel&) = delete;
    CCommandChannel& operator=(const CCommandChannel&) = delete;
    // Safe from inside the owner's notification, on whichever thread delivered it.
    ~CCommandChannel() override;

    bool IsOpen() const;
    // Why the channel did not open.
    OpenFailure LastOpenFailure() const;
    // Why the line was lost, once WM_CHANNEL_LINE_LOST has been delivered.
    LineLoss LastLineLoss() const;
    void Send(const std::uint8_t* data, int length, bool expectReply, int replyLength);
    // False when the reply description is refused: nothing is sent and no reply is awaited.
    bool SendAwaitPattern(const std::uint8_t* data, int length, int replyKind,
                          const std::uint8_t* pattern, int patternLen);
    void SetWatchLength(std::chrono::milliseconds length);
    // Writes bytes that await no reply (what the host prints), a piece at a time so that a
    // reply or a lost line is heard meanwhile. False when not all of them left.
    bool SendData(std::span<const std::uint8_t> data);

private:
    struct Delivery {
        ChannelMessage message{};
        std::vector<std::uint8_t> bytes;
    };

    void OnDataAvailable() override;
    void OnHangUp() override;
    // Decides, under the lock, what the bytes just read mean; false when nothing is delivered.
    bool CollectInput(std::span<const std::uint8_t> input, Delivery& delivery);
    bool CollectReply(Delivery& delivery);
    // Keeps the request and writes it once the line is quiet; called with the lock held.
    void Ask(const std::uint8_t* data, int length);
    void WriteWhenQuiet();
    bool OnMisaligned(Delivery& delivery);
    void RestartStreamWatch(std::uint64_t request);
    void OnWatchExpired(std::uint64_t ticket);
    // Ends the pending request without a notification: stops its watch, forgets its bytes.
    void CancelPending();
    void StartWatch();

    IChannelOwner* m_pOwner;
    std::mutex m_mutex;
    ReplyRule m_rule;
    std::vector<std::uint8_t> m_rxBuffer;
    std::chrono::milliseconds m_watchLength = kReplyWatch;
    std::uint64_t m_watchTicket = 0;
    std::uint64_t m_requestSerial = 0;
    bool m_closing = false;
    CLineQuiet m_quiet{0};
    std::vector<std::uint8_t> m_request;
    CLineQuiet::Clock::time_point m_askedAt{};
    int m_triesLeft = 0;
    bool m_waitingForQuiet = false;
    bool m_settling = false;
    // Cleared by the destructor; a delivering thread holds a copy to learn whether its handler
    // destroyed the channel.
    std::shared_ptr<std::atomic<bool>> m_alive = std::make_shared<std::atomic<bool>>(true);
    CWatchTimer m_watch;
    std::unique_ptr<CTransport> m_pTransport;
    OpenFailure m_watchFailure;
};
