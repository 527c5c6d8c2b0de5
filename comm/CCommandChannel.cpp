#include "CCommandChannel.h"

#include <algorithm>

#include "TransportFactory.h"

namespace {

// One read takes everything that has arrived, up to this many bytes.
constexpr int kReadChunk = 8192;
// A reply followed by more bytes is asked again this often before it is handed over as it is.
constexpr int kMisalignedRetries = 2;

std::chrono::milliseconds Until(CLineQuiet::Clock::time_point when) {
    const auto left = when - CLineQuiet::Clock::now();
    return std::max(std::chrono::milliseconds(1),
                    std::chrono::ceil<std::chrono::milliseconds>(left));
}

void Deliver(IChannelOwner* owner, ChannelMessage message, std::span<const std::uint8_t> bytes) {
    if (owner != nullptr) {
        owner->OnChannelMessage(message, bytes);
    }
}

}  // namespace

CCommandChannel::CCommandChannel(IChannelOwner* owner, const ChannelConfig& config)
    : CCommandChannel(owner, [&](IInputSink& sink) { return MakeTransport(sink, config); }) {
    std::lock_guard lock(m_mutex);
    m_quiet = CLineQuiet(config.transport == TransportKind::Serial ? config.baudRate : 0);
}

CCommandChannel::CCommandChannel(IChannelOwner* owner, const TransportFactory& makeTransport)
    : m_pOwner(owner), m_watch([this](std::uint64_t ticket) { OnWatchExpired(ticket); }) {
    if (!m_watch.IsRunning()) {
        // Nothing is opened: no request could ever end.
        m_watchFailure = OpenFailure(OpenFailureKind::NoThread, "", Unstarted::ChannelWatch);
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

LineLoss CCommandChannel::LastLineLoss() const {
    return m_pTransport ? m_pTransport->LastLineLoss() : LineLoss::None;
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
    if (expectReply) {
        Ask(data, length);
    } else {
        m_pTransport->Write(data, length);
        m_quiet.Spoke();
    }
}

bool CCommandChannel::SendData(std::span<const std::uint8_t> data) {
    constexpr std::size_t kPiece = 256;
    while (!data.empty()) {
        const std::size_t length = std::min(data.size(), kPiece);
        std::lock_guard lock(m_mutex);
        CancelPending();
        if (!m_pTransport) {
            return false;
        }
        const int sent = m_pTransport->Write(data.data(), static_cast<int>(length));
        m_quiet.Spoke();
        if (sent != static_cast<int>(length)) {
            return false;
        }
        data = data.subspan(length);
    }
    return true;
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
    Ask(data, length);
    return true;
}

void CCommandChannel::Ask(const std::uint8_t* data, int length) {
    m_request.assign(data, data + length);
    m_triesLeft = kMisalignedRetries;
    m_askedAt = CLineQuiet::Clock::now();
    WriteWhenQuiet();
}

// A line that never falls quiet (noise at a wrong speed) is asked all the same after one watch.
void CCommandChannel::WriteWhenQuiet() {
    const auto quietFrom = m_quiet.QuietFrom();
    const auto now = CLineQuiet::Clock::now();
    if (now < quietFrom && now - m_askedAt < m_watchLength) {
        m_waitingForQuiet = true;
        m_watchTicket = m_watch.Arm(Until(quietFrom));
        return;
    }
    m_waitingForQuiet = false;
    m_pTransport->Write(m_request.data(), static_cast<int>(m_request.size()));
    m_quiet.Spoke();
    StartWatch();
}

// A refused or empty request still ends the one before it completely: leaving its reply mode
// armed without a watch would leave a caller waiting for a reply that is never reported.
void CCommandChannel::CancelPending() {
    m_watch.Cancel();
    m_watchTicket = 0;
    ++m_requestSerial;
    m_rule.mode = ReplyMode::Idle;
    m_rxBuffer.clear();
    m_waitingForQuiet = false;
    m_settling = false;
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
    m_quiet.Heard(CLineQuiet::Clock::now());
    if (m_rule.mode == ReplyMode::Idle) {
        // Nobody waits for these bytes; the next request would discard them anyway.
        return false;
    }
    if (m_waitingForQuiet) {
        // The tail of an earlier conversation: dropped, and the quiet counted anew.
        m_watch.Cancel();
        WriteWhenQuiet();
        return false;
    }
    m_watch.Cancel();
    m_watchTicket = 0;
    m_rxBuffer.insert(m_rxBuffer.end(), input.begin(), input.end());
    if (m_settling) {
        return OnMisaligned(delivery);
    }
    if (m_rule.mode == ReplyMode::FixedLength && m_rule.expectedLen == 0) {
        m_rule.mode = ReplyMode::Stream;
    }
    if (m_rule.mode == ReplyMode::Stream) {
        delivery = {WM_CHANNEL_CHUNK, std::move(m_rxBuffer)};
        m_rxBuffer.clear();
        return true;
    }
    return CollectReply(delivery);
}

bool CCommandChannel::CollectReply(Delivery& delivery) {
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
    if (m_rule.mode == ReplyMode::FixedLength &&
        m_rxBuffer.size() > static_cast<std::size_t>(m_rule.expectedLen)) {
        return OnMisaligned(delivery);
    }
    // Believed once the line stays quiet after it (delivered by the watch).
    m_settling = true;
    m_watchTicket = m_watch.Arm(Until(m_quiet.QuietFrom()));
    return false;
}

// More bytes than the reply holds: the front of what was collected belonged to an earlier
// conversation. Asked again after the line falls quiet; the last try is handed over as it is.
bool CCommandChannel::OnMisaligned(Delivery& delivery) {
    m_settling = false;
    if (m_triesLeft > 0) {
        --m_triesLeft;
        m_rxBuffer.clear();
        m_askedAt = CLineQuiet::Clock::now();
        WriteWhenQuiet();
        return false;
    }
    m_watch.Cancel();
    m_watchTicket = 0;
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
        if (m_waitingForQuiet) {
            WriteWhenQuiet();
            return;
        }
        const ReplyMode mode = m_rule.mode;
        m_rule.mode = ReplyMode::Idle;
        if (m_settling) {
            m_settling = false;
            delivery = {WM_CHANNEL_REPLY, std::move(m_rxBuffer)};
        } else if (mode == ReplyMode::Stream) {
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

void CCommandChannel::OnHangUp() {
    IChannelOwner* owner = nullptr;
    {
        std::lock_guard lock(m_mutex);
        if (m_closing) {
            return;
        }
        CancelPending();
        owner = m_pOwner;
    }
    Deliver(owner, WM_CHANNEL_LINE_LOST, {});
}
