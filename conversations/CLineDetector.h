#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "CSerialPort.h"
#include "OpenFailure.h"
#include "PrinterSettings.h"
#include "SerialLineSettings.h"

// What came back to one settings read at one line setting.
enum class ProbeAnswer { Silence, Noise, Record };

// A reply is the printer's record only when it has the record's length and names the speed it
// came at; anything else is what a wrong speed or framing makes of the printer's bytes.
ProbeAnswer JudgeProbe(std::span<const std::uint8_t> reply, const SerialLineRequest& line);

struct ProbeTry {
    SerialLineRequest line;
    ProbeAnswer answer = ProbeAnswer::Silence;
};

struct LineDetection {
    enum class Status { Found, NoAnswer, PortNotOpened, LineLost, Cancelled };
    Status status = Status::NoAnswer;
    SerialLineRequest line;    // Found: the settings to talk to the printer with
    PrinterSettings record{};  // Found: the record the printer answered with
    std::vector<ProbeTry> tries;
    int candidates = 0;
    OpenFailure openFailure;
    std::chrono::milliseconds elapsed{0};
};

// Finds the line settings of the printer on a serial port: sends the settings read at every
// setting the printer's port can have, most likely first (see DetectionOrder), on one open
// port that is reprogrammed between tries. A try ends as soon as its answer shows what it is:
// a whole record, noise that stopped (a wrong speed garbles every byte), or a short silence.
// The record found then tells the printer's exact settings, which are tried once more where
// they program the line differently. One search per object.
class CLineDetector final : private IInputSink {
public:
    using Progress = std::function<void(int index, int count, const SerialLineRequest& line)>;

    explicit CLineDetector(std::string portName);
    CLineDetector(const CLineDetector&) = delete;
    CLineDetector& operator=(const CLineDetector&) = delete;
    ~CLineDetector() override;

    // Blocks until found, all tried, or cancelled; progress is called on this thread before
    // every try (index from 1).
    LineDetection Run(const Progress& progress = {});
    // From any thread: the running try ends at once and Run returns Cancelled.
    void Cancel();

private:
    using Clock = std::chrono::steady_clock;

    void OnDataAvailable() override;
    void OnHangUp() override;
    ProbeAnswer Probe(const SerialLineRequest& line);
    // Waits until the answer is whole, has stopped, or has not begun in time; false when the
    // search was cancelled or the line lost meanwhile.
    bool AwaitAnswer(const SerialLineRequest& line, Clock::time_point sent);
    void ReleasePort();
    bool Confirm(LineDetection& result, const SerialLineRequest& answered);

    std::string m_portName;
    std::unique_ptr<CSerialPort> m_port;
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<std::uint8_t> m_rx;
    PrinterSettings m_record{};
    Clock::time_point m_lastInput{};
    bool m_lineLost = false;
    bool m_cancelled = false;
};
