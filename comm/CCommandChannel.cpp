#include "CCommandChannel.h"

#include <algorithm>

#include "TransportFactory.h"

namespace {

// One read takes everything that has arrived, up to this many bytes.
constexpr int kReadChunk = 8192;

void Deliver(IChannelOwner* owner, ChannelMessage message, std::span<const std::uint8_t> bytes) {
    if (owner != nullptr) {
        owner->OnChannelMessage(message, bytes);
    }
}

}  // namespace

CCommandChannel::CCommandChannel(IChannelOwner* owner, const ChannelConfig& config,
                                 IUserNotifier* notifier)
    : CCommandChannel(
          owner, [&](IInputSink& sink) { return MakeTransport(sink, config, notifier); },
          notifier) {}

CCommandChannel::CCommandChannel(IChannelOwner* owner, const TransportFactory& makeTransport,
                                 IUserNotifier* notifier)
    : m_pOwner(owner), m_watch([this](std::uint64_t ticket) { OnWatchExpired(ticket); }) {
    if (!m_watch.IsRunning()) {
        // Reported as the serial port reports its reader thread; no request could ever end.
        if (notifier != nullptr) {
            notifier->ShowMessage("thread will not be created from CCommandChannel()", "",
                                  MessageIcon::Warning);
        }
        m_watchFailure.kind = OpenFailureKind::NoThread;
        return;
    }
    m_pTransport = makeTransport(*this);
    if (m_pTransport) {
        m_pTransport->Open();
    }
}

CCommandChannel::~CCommandChannel() {
    {
        std::lock_guard lock(m_mutex);
        m_closing = true;
        *m_alive = false;
        CancelPending();
        m_rule.mode = ReplyMode::Idle;
    }
    m_watch.Stop();
    if (m_pTransport) {
        m_pTransport->Close();
    }
}

bool CCommandChannel::IsOpen() const {
    return m_pTransport && m_pTransport->IsOpen();
}

OpenFailure CCommandChannel::LastOpenFailure() const {
    return m_pTransport ? m_pTransport->LastOpenFailure() : m_watchFailure;
}

void CCommandChannel::SetWatchLength(std::chrono::milliseconds length) {
    std::lock_guard lock(m_mutex);
    m_watchLength = length;
}

void CCommandChannel::Send(const std::uint8_t* data, int length, bool expectReply,
                           int replyLength) {
    std::lock_guard lock(m_mutex);
    CancelPending();
    if (data == nullptr || length <= 0 || !m_pTransport) {
        return;
    }
    m_rule.mode = expectReply ? ReplyMode::FixedLength : ReplyMode::Idle;
    m_rule.expectedLen = expectReply ? std::max(0, replyLength) : 0;
    m_pTransport->Write(data, length);
    if (expectReply) {
        StartWatch();
    }
}

bool CCommandChannel::SendAwaitPattern(const std::uint8_t* data, int length, int replyKind,
                                       const std::uint8_t* pattern, int patternLen) {
    std::lock_guard lock(m_mutex);
    CancelPending();
    if (data == nullptr || length <= 0 || !m_pTransport ||
        !IsAcceptablePattern(replyKind, pattern, patternLen)) {
        return false;
    }
    std::copy_n(pattern, patternLen, m_rule.pattern.begin());
    m_rule.patternLen = patternLen;
    m_rule.replyKind = replyKind;
    m_rule.mode = ReplyMode::Pattern;
    m_pTransport->Write(data, length);
    StartWatch();
    return true;
}

// A refused or empty request still ends the one before it completely: leaving its reply mode
// armed without a watch would leave a caller waiting for a reply that is never reported.
void CCommandChannel::CancelPending() {
    m_watch.Cancel();
    m_watchTicket = 0;
    ++m_requestSerial;
    m_rule.mode = ReplyMode::Idle;
    m_rxBuffer.clear();
}

void CCommandChannel::StartWatch() {
    m_watchTicket = m_watch.Arm(m_watchLength);
}

void CCommandChannel::OnDataAvailable() {
    std::uint8_t chunk[kReadChunk];
    Delivery delivery;
    IChannelOwner* owner = nullptr;
    std::shared_ptr<std::atomic<bool>> alive;
    std::uint64_t request = 0;
    {
        std::lock_guard lock(m_mutex);
        const int got = m_pTransport ? m_pTransport->Read(chunk, kReadChunk) : 0;
        if (got <= 0 || m_closing) {
            return;
        }
        if (!CollectInput(std::span(chunk, static_cast<std::size_t>(got)), delivery)) {
            return;
        }
        owner = m_pOwner;
        alive = m_alive;
        request = m_requestSerial;
    }
    // The handler may destroy the channel: after it, only the stream's next watch is started,
    // and only when the channel still exists and no new request replaced the stream.
    Deliver(owner, delivery.message, delivery.bytes);
    if (delivery.message == WM_CHANNEL_CHUNK && *alive) {
        RestartStreamWatch(request);
    }
}

bool CCommandChannel::CollectInput(std::span<const std::uint8_t> input, Delivery& delivery) {
    if (m_rule.mode == ReplyMode::Idle) {
        // Nobody waits for these bytes; the next request would discard them anyway.
        return false;
    }
    m_watch.Cancel();
    m_watchTicket = 0;
    m_rxBuffer.insert(m_rxBuffer.end(), input.begin(), input.end());
    if (m_rule.mode == ReplyMode::FixedLength && m_rule.expectedLen == 0) {
        m_rule.mode = ReplyMode::Stream;
    }
    if (m_rule.mode == ReplyMode::Stream) {
        delivery = {WM_CHANNEL_CHUNK, std::move(m_rxBuffer)};
        m_rxBuffer.clear();
        return true;
    }
    switch (AssessReply(m_rule, m_rxBuffer)) {
        case ReplyProgress::Incomplete:
            StartWatch();
            return false;
        case ReplyProgress::Abandon:
            m_rule.mode = ReplyMode::Idle;
            m_rxBuffer.clear();
            return false;
        case ReplyProgress::Complete:
            break;
    }
    m_rule.mode = ReplyMode::Idle;
    delivery = {WM_CHANNEL_REPLY, std::move(m_rxBuffer)};
    m_rxBuffer.clear();
    return true;
}

void CCommandChannel::RestartStreamWatch(std::uint64_t request) {
    std::lock_guard lock(m_mutex);
    if (!m_closing && m_rule.mode == ReplyMode::Stream && m_requestSerial == request &&
        m_watchTicket == 0) {
        StartWatch();
    }
}

void CCommandChannel::OnWatchExpired(std::uint64_t ticket) {
    Delivery delivery;
    IChannelOwner* owner = nullptr;
    {
        std::lock_guard lock(m_mutex);
        if (m_closing || ticket != m_watchTicket) {
            return;
        }
        m_watchTicket = 0;
        const ReplyMode mode = m_rule.mode;
        m_rule.mode = ReplyMode::Idle;
        if (mode == ReplyMode::Stream) {
            delivery = {WM_CHANNEL_STREAM_END, std::move(m_rxBuffer)};
        } else if (mode == ReplyMode::FixedLength || mode == ReplyMode::Pattern) {
            delivery = {WM_CHANNEL_TIMEOUT, {}};
        } else {
            m_rxBuffer.clear();
            return;
        }
        m_rxBuffer.clear();
        owner = m_pOwner;
    }
    // Delivered after the watch let go of every lock: the handler may close the channel.
    Deliver(owner, delivery.message, delivery.bytes);
}
