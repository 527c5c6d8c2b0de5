#include "CLoadLink.h"

#include <algorithm>

#include "TransportFactory.h"

namespace {

constexpr int kReadChunk = 8192;
constexpr std::size_t kBlockDoneReply = 5;  // RS 'S' 'M' status flag

ChannelConfig LoaderLine(ChannelConfig line) {
    line.parity = Parity::None;
    line.stopBits = StopBits::One;
    line.flowControl = FlowControl::None;
    return line;
}

}  // namespace

CLoadLink::CLoadLink(ILoadOwner& owner, CLoadData& data, const ChannelConfig& line)
    : m_owner(owner),
      m_protocol(data),
      m_quiet(line.transport == TransportKind::Serial ? line.baudRate : 0),
      m_watchdog([this](std::uint64_t ticket) { OnWatchdogExpired(ticket); }),
      m_transport(MakeTransport(*this, LoaderLine(line))) {
    // Without its watchdog a silent printer would keep the load waiting for ever.
    if (!m_watchdog.IsRunning()) {
        return;
    }
    m_transport->Open();
}

// The load has already been reported; left on the line, the printer's last answer would be
// the first thing the next program to open the port reads.
CLoadLink::~CLoadLink() {
    {
        std::unique_lock lock(m_mutex);
        m_lastReplyTaken.wait_for(lock, kLastReplyWait, [this] { return m_lastReplyMissing == 0; });
        m_closing = true;
    }
    m_transport->Close();
    m_watchdog.Stop();
}

bool CLoadLink::IsOpen() const {
    return m_transport->IsOpen();
}

OpenFailure CLoadLink::LastOpenFailure() const {
    if (!m_watchdog.IsRunning()) {
        return OpenFailure(OpenFailureKind::NoThread, "", Unstarted::LoadWatchdog);
    }
    return m_transport->LastOpenFailure();
}

LineLoss CLoadLink::LastLineLoss() const {
    return m_transport->LastLineLoss();
}

bool CLoadLink::IsBusy() const {
    std::lock_guard lock(m_mutex);
    return m_protocol.IsBusy();
}

// One lock with the protocol step: either the step has ended the load and reported it, or the
// stop comes first and the step finds the load idle.
bool CLoadLink::Stop() {
    std::lock_guard lock(m_mutex);
    if (!m_protocol.Stop()) {
        return false;
    }
    m_watchdog.Cancel();
    m_watchdogTicket = 0;
    return true;
}

void CLoadLink::SetWatchdogLength(std::chrono::milliseconds length) {
    std::lock_guard lock(m_mutex);
    m_watchdogLength = length;
}

void CLoadLink::StartProgramLoad() {
    CLoadProtocol::Step step;
    {
        std::unique_lock lock(m_mutex);
        WaitUntilQuiet(lock);
        step = m_protocol.StartProgramLoad();
        Perform(step);
    }
    Report(step);
}

void CLoadLink::StartFontLoad() {
    CLoadProtocol::Step step;
    {
        std::unique_lock lock(m_mutex);
        WaitUntilQuiet(lock);
        step = m_protocol.StartFontLoad();
        Perform(step);
    }
    Report(step);
}

// A load cut off a moment ago leaves the printer still answering it, and those bytes would be
// taken for the boot area's answer: the first request waits until the line has been quiet.
void CLoadLink::WaitUntilQuiet(std::unique_lock<std::mutex>& lock) {
    const auto giveUp = CLineQuiet::Clock::now() + m_watchdogLength;
    for (;;) {
        const auto quietFrom = std::min(m_quiet.QuietFrom(), giveUp);
        if (CLineQuiet::Clock::now() >= quietFrom) {
            return;
        }
        m_quietWait.wait_until(lock, quietFrom);
    }
}

// The protocol step and the watchdog's expiry share one lock, and the expiry counts only when
// no arrival has re-armed the watchdog since.
void CLoadLink::OnDataAvailable() {
    std::uint8_t chunk[kReadChunk];
    CLoadProtocol::Step step;
    {
        std::lock_guard lock(m_mutex);
        const int got = m_transport->Read(chunk, kReadChunk);
        if (got > 0) {
            m_quiet.Heard(CLineQuiet::Clock::now());
        }
        if (got <= 0 || m_closing || !m_protocol.IsBusy()) {
            TakeLastReply(got);
            return;
        }
        m_watchdog.Cancel();
        m_watchdogTicket = 0;
        step = m_protocol.OnBytes(std::span(chunk, static_cast<std::size_t>(got)));
        Perform(step);
    }
    Report(step);
}

void CLoadLink::OnHangUp() {
    CLoadProtocol::Step step;
    {
        std::lock_guard lock(m_mutex);
        TakeLastReply(static_cast<int>(m_lastReplyMissing));
        if (m_closing) {
            return;
        }
        m_watchdog.Cancel();
        m_watchdogTicket = 0;
        step = m_protocol.OnLineLost();
    }
    Report(step);
}

void CLoadLink::OnWatchdogExpired(std::uint64_t ticket) {
    CLoadProtocol::Step step;
    {
        std::lock_guard lock(m_mutex);
        if (m_closing || ticket != m_watchdogTicket) {
            return;
        }
        m_watchdogTicket = 0;
        step = m_protocol.OnSilence();
    }
    Report(step);
}

void CLoadLink::Perform(CLoadProtocol::Step& step) {
    const int length = static_cast<int>(step.request.size());
    if (length > 0 && m_transport->Write(step.request.data(), length) != length) {
        step = m_protocol.OnWriteFailed(std::move(step));
        return;
    }
    if (step.awaitReply) {
        m_watchdogTicket = m_watchdog.Arm(m_watchdogLength);
    }
    if (std::find(step.messages.begin(), step.messages.end(), LM_DONE) != step.messages.end()) {
        m_lastReplyMissing = kBlockDoneReply;
    }
}

// Bytes after the load has ended: the answer to the last block-done request, or nothing more
// to wait for once the line is gone.
void CLoadLink::TakeLastReply(int got) {
    if (m_lastReplyMissing == 0 || got <= 0) {
        return;
    }
    m_lastReplyMissing -= std::min(m_lastReplyMissing, static_cast<std::size_t>(got));
    if (m_lastReplyMissing == 0) {
        m_lastReplyTaken.notify_all();
    }
}

// Outside the lock: the owner may end the load, and the notifications are its last word.
void CLoadLink::Report(const CLoadProtocol::Step& step) {
    if (step.recordTaken) {
        m_owner.OnRecordTaken();
    }
    for (LoadMessage message : step.messages) {
        m_owner.OnLoadMessage(message);
    }
}
