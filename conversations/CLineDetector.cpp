#include "CLineDetector.h"

#include <algorithm>

#include "CommandTable.h"
#include "LineCandidates.h"

namespace {

using namespace std::chrono_literals;

// How long a printer may take to begin its answer once the request has left: the window's
// two seconds are for a busy printer, an idle one answers a settings read at once.
constexpr auto kProbeAnswerWait = 150ms;
// An answer has ended once the line stays quiet this long (or four characters, if longer):
// four characters of the slowest line the printer can have, since a printer at 1200 bit/s
// sends a byte only every 9 to 10 ms whatever speed the host listens at.
constexpr auto kProbeQuietGap = 40ms;
// A speed that gave nothing but noise this many times is most likely not the printer's: its
// other framings are left for last.
constexpr int kNoisyTries = 3;

std::chrono::microseconds CharacterTime(const SerialLineRequest& line) {
    const long long bits =
        1 + 8 + (line.parity != Parity::None ? 1 : 0) + (line.stopBits == StopBits::Two ? 2 : 1);
    return std::chrono::microseconds(bits * 1'000'000 / std::max(1u, line.baudRate));
}

std::chrono::microseconds QuietGap(const SerialLineRequest& line) {
    return std::max<std::chrono::microseconds>(kProbeQuietGap, 4 * CharacterTime(line));
}

// The next line in order whose speed has not shown itself wrong; the first left otherwise.
SerialLineRequest TakeNext(std::vector<SerialLineRequest>& pending,
                           const std::vector<ProbeTry>& tries) {
    const auto noisy = [&](unsigned speed) {
        int atSpeed = 0;
        for (const ProbeTry& probe : tries) {
            if (probe.line.baudRate == speed) {
                if (probe.answer != ProbeAnswer::Noise) {
                    return false;
                }
                ++atSpeed;
            }
        }
        return atSpeed >= kNoisyTries;
    };
    auto next = std::find_if(pending.begin(), pending.end(),
                             [&](const SerialLineRequest& line) { return !noisy(line.baudRate); });
    if (next == pending.end()) {
        next = pending.begin();
    }
    const SerialLineRequest line = *next;
    pending.erase(next);
    return line;
}

}  // namespace

ProbeAnswer JudgeProbe(std::span<const std::uint8_t> reply, const SerialLineRequest& line) {
    if (reply.empty()) {
        return ProbeAnswer::Silence;
    }
    if (reply.size() != PrinterSettings::kSize) {
        return ProbeAnswer::Noise;
    }
    const auto record = PrinterSettings::FromBytes(
        std::span<const std::uint8_t, PrinterSettings::kSize>(reply.data(), reply.size()));
    return LineOfRecord(record).baudRate == line.baudRate ? ProbeAnswer::Record
                                                          : ProbeAnswer::Noise;
}

CLineDetector::CLineDetector(std::string portName) : m_portName(std::move(portName)) {}

// The reader thread reaches the port through m_port: it is stopped before the pointer changes.
CLineDetector::~CLineDetector() {
    ReleasePort();
}

void CLineDetector::ReleasePort() {
    if (m_port) {
        m_port->Close();
        m_port.reset();
    }
}

void CLineDetector::Cancel() {
    std::lock_guard lock(m_mutex);
    m_cancelled = true;
    m_changed.notify_all();
}

void CLineDetector::OnDataAvailable() {
    std::uint8_t chunk[256];
    const int got = m_port->Read(chunk, static_cast<int>(sizeof chunk));
    if (got <= 0) {
        return;
    }
    std::lock_guard lock(m_mutex);
    m_rx.insert(m_rx.end(), chunk, chunk + got);
    m_lastInput = Clock::now();
    m_changed.notify_all();
}

void CLineDetector::OnHangUp() {
    std::lock_guard lock(m_mutex);
    m_lineLost = true;
    m_changed.notify_all();
}

LineDetection CLineDetector::Run(const Progress& progress) {
    const auto started = Clock::now();
    const std::vector<SerialLineRequest> order = DetectionOrder();
    LineDetection result;
    result.candidates = static_cast<int>(order.size());
    const auto finish = [&](LineDetection::Status status) {
        result.status = status;
        result.elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
        ReleasePort();
        return result;
    };
    m_port =
        std::make_unique<CSerialPort>(static_cast<IInputSink*>(this), m_portName, order.front());
    if (!m_port->OpenConnection()) {
        result.openFailure = m_port->LastOpenFailure();
        return finish(LineDetection::Status::PortNotOpened);
    }
    std::vector<SerialLineRequest> pending = order;
    for (int index = 1; !pending.empty(); ++index) {
        const SerialLineRequest line = TakeNext(pending, result.tries);
        if (progress) {
            progress(index, result.candidates, line);
        }
        const ProbeAnswer answer = Probe(line);
        {
            std::lock_guard lock(m_mutex);
            if (m_cancelled) {
                return finish(LineDetection::Status::Cancelled);
            }
            if (m_lineLost) {
                return finish(LineDetection::Status::LineLost);
            }
        }
        result.tries.push_back({line, answer});
        if (answer == ProbeAnswer::Record) {
            result.record = m_record;
            return finish(Confirm(result, line) ? LineDetection::Status::Found
                                                : LineDetection::Status::Cancelled);
        }
    }
    return finish(LineDetection::Status::NoAnswer);
}

// The record names the printer's own settings; where they program the line otherwise than the
// try that was answered (a parity the other end cannot tell, say), they must answer too.
bool CLineDetector::Confirm(LineDetection& result, const SerialLineRequest& answered) {
    const SerialLineRequest own = LineOfRecord(result.record);
    result.line = SameLineProgramming(own, answered) ? own : answered;
    if (SameLineProgramming(own, answered)) {
        return true;
    }
    const ProbeAnswer answer = Probe(own);
    std::lock_guard lock(m_mutex);
    if (m_cancelled) {
        return false;
    }
    result.tries.push_back({own, answer});
    if (answer == ProbeAnswer::Record) {
        result.line = own;
    }
    return true;
}

ProbeAnswer CLineDetector::Probe(const SerialLineRequest& line) {
    if (!m_port->Reconfigure(line)) {
        return ProbeAnswer::Silence;
    }
    {
        std::lock_guard lock(m_mutex);
        m_rx.clear();
    }
    const CommandEntry* read = FindCommand(CMD_READ_SETTINGS);
    m_port->Write(read->prefix.data(), read->prefixLen);
    if (!AwaitAnswer(line, Clock::now())) {
        return ProbeAnswer::Silence;
    }
    std::lock_guard lock(m_mutex);
    const ProbeAnswer answer = JudgeProbe(m_rx, line);
    if (answer == ProbeAnswer::Record) {
        m_record = PrinterSettings::FromBytes(
            std::span<const std::uint8_t, PrinterSettings::kSize>(m_rx.data(), m_rx.size()));
    }
    return answer;
}

bool CLineDetector::AwaitAnswer(const SerialLineRequest& line, Clock::time_point sent) {
    const auto quietGap = QuietGap(line);
    const auto replyTime = static_cast<long long>(PrinterSettings::kSize) * CharacterTime(line);
    // Noise that never stops is noise too.
    const Clock::time_point cap = sent + kProbeAnswerWait + 3 * replyTime;
    std::unique_lock lock(m_mutex);
    for (;;) {
        if (m_cancelled || m_lineLost) {
            return false;
        }
        const auto now = Clock::now();
        const bool begun = !m_rx.empty();
        if (m_rx.size() > PrinterSettings::kSize || now >= cap) {
            return true;
        }
        const Clock::time_point until =
            begun ? m_lastInput + quietGap : sent + kProbeAnswerWait + CharacterTime(line);
        if (now >= until) {
            return true;
        }
        m_changed.wait_until(lock, std::min(until, cap));
    }
}
