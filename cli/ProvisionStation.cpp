#include "ProvisionStation.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <iomanip>
#include <iostream>
#include <mutex>
#include <sstream>
#include <thread>

#include "CPrinterSession.h"
#include "Console.h"
#include "DetectLine.h"
#include "ExitCodes.h"
#include "PortRunner.h"
#include "PrinterLine.h"
#include "SettingsFile.h"
#include "StopRequest.h"

namespace {

using namespace std::chrono_literals;

constexpr auto kPollPause = 500ms;
constexpr int kUnansweredToGone = 3;

struct PortTally {
    int done = 0;
    int failed = 0;
    int alreadyDone = 0;
    double doneSeconds = 0;
    bool recordLost = false;
};

// A station's progress is its lines of text: a bar per port would be redrawn for hours.
class CSilentProgress final : public IJobProgress {
public:
    void Start(std::string, std::size_t) override {}
    void Show(std::size_t) override {}
    void Retitle(std::string) override {}
    void Finish() override {}
};

class CStationPort {
public:
    CStationPort(const ChannelConfig& port, const ProvisionPlan& plan, std::mutex& printing)
        : m_port(port), m_plan(plan), m_printing(printing) {}

    void Serve() {
        while (WaitForPrinter()) {
            Provision();
            WaitUntilGone();
        }
    }
    const PortTally& Tally() const { return m_tally; }
    std::string Name() const { return LineName(m_port); }

private:
    void Say(const std::string& text) {
        const std::lock_guard lock(m_printing);
        std::istringstream lines(text);
        for (std::string line; std::getline(lines, line);) {
            std::cout << Name() << ": " << line << '\n';
        }
        std::cout.flush();
    }

    bool DevicePresent() const {
        return m_port.transport == TransportKind::Tcp || std::filesystem::exists(m_port.portName);
    }

    // Whether the printer answers a status request at its line; quietly, as it is asked twice
    // a second. With the line search the line is found anew for every printer.
    bool Answers() {
        if (!DevicePresent()) {
            return false;
        }
        const CConsoleCapture quiet;
        if (m_plan.profile.findLine && !m_found) {
            CSilentProgress progress;
            nlohmann::json details;
            ChannelConfig found;
            if (DetectLine(m_port, progress, details, found) != 0) {
                return false;
            }
            m_found = found;
        }
        CPrinterSession session(m_found ? *m_found : LineAt(m_port, m_plan.profile.line));
        return session.Open() && session.Request(StatusRequest()).has_value();
    }

    bool WaitForPrinter() {
        m_found.reset();
        while (!StopRequested()) {
            if (Answers()) {
                return true;
            }
            std::this_thread::sleep_for(kPollPause);
        }
        return false;
    }

    void Provision() {
        ProvisionPlan plan = m_plan;  // the records as they stand now, this station's own too
        std::string error;
        plan.earlier.clear();
        ReadRecords(plan.recordPath, plan.earlier, error);
        CSilentProgress progress;
        ProvisionRecord outcome;
        std::string output;
        int code = 0;
        {
            const CConsoleCapture capture;
            code = ProvisionPrinter(m_port, plan, progress, outcome);
            output = capture.OutText() + capture.ErrText();
        }
        Say(output);
        if (code == kProvisionDone) {
            m_tally.done += outcome.result == "done" ? 1 : 0;
            m_tally.alreadyDone += outcome.result == "already done" ? 1 : 0;
            m_tally.doneSeconds += outcome.result == "done" ? outcome.seconds : 0;
            Say("done, next\a");
            return;
        }
        m_tally.failed += code == kProvisionStopped ? 0 : 1;
        m_tally.recordLost = m_tally.recordLost || code == kProvisionRecordNotWritten;
        Say("failed at " + outcome.FailedStep() + " (exit " + std::to_string(code) + "), next\a");
    }

    // The printer is gone when its device vanishes or it stops answering.
    void WaitUntilGone() {
        int unanswered = 0;
        while (!StopRequested() && DevicePresent() && unanswered < kUnansweredToGone) {
            unanswered = Answers() ? 0 : unanswered + 1;
            std::this_thread::sleep_for(kPollPause);
        }
    }

    ChannelConfig m_port;
    const ProvisionPlan& m_plan;
    std::mutex& m_printing;
    std::optional<ChannelConfig> m_found;
    PortTally m_tally;
};

std::string Mean(const PortTally& tally) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s",
                  tally.done == 0 ? 0.0 : tally.doneSeconds / tally.done);
    return text;
}

// Printed, and kept in the record file as a line of its own.
bool ReportSummary(const std::vector<std::unique_ptr<CStationPort>>& ports,
                   const ProvisionPlan& plan) {
    std::size_t width = 4;
    for (const auto& port : ports) {
        width = std::max(width, port->Name().size());
    }
    const auto row = [width](const std::string& port, const std::string& done,
                             const std::string& failed, const std::string& already,
                             const std::string& mean) {
        std::cout << std::left << std::setw(static_cast<int>(width) + 2) << port << std::setw(6)
                  << done << std::setw(8) << failed << std::setw(14) << already << mean << '\n';
    };
    row("PORT", "DONE", "FAILED", "ALREADY DONE", "MEAN TIME");
    bool written = true;
    for (const auto& port : ports) {
        const PortTally& tally = port->Tally();
        row(port->Name(), std::to_string(tally.done), std::to_string(tally.failed),
            std::to_string(tally.alreadyDone), Mean(tally));
        const nlohmann::ordered_json summary{
            {"stationSummary", true},
            {"station", plan.station},
            {"port", port->Name()},
            {"done", tally.done},
            {"failed", tally.failed},
            {"alreadyDone", tally.alreadyDone},
            {"meanSeconds", tally.done == 0 ? 0.0 : tally.doneSeconds / tally.done}};
        std::string error;
        if (!AppendSynced(plan.recordPath, summary.dump() + "\n", error)) {
            std::cerr << "The summary could not be written: " << error << '\n';
            written = false;
        }
        written = written && !tally.recordLost;
    }
    return written;
}

}  // namespace

int RunStation(const std::vector<ChannelConfig>& ports, const ProvisionPlan& plan) {
    WatchForStopRequest();
    std::mutex printing;
    std::vector<std::unique_ptr<CStationPort>> served;
    for (const ChannelConfig& port : ports) {
        served.push_back(std::make_unique<CStationPort>(port, plan, printing));
    }
    std::cout << "Station ready: plug in a printer (Ctrl+C ends after the step that runs).\n"
              << std::flush;
    {
        std::vector<std::jthread> threads;
        for (const auto& port : served) {
            threads.emplace_back([&port] { port->Serve(); });
        }
    }
    return ReportSummary(served, plan) ? kProvisionDone : kProvisionRecordNotWritten;
}
