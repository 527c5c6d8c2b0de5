#include "DetectLine.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <vector>

#include "CLineDetector.h"
#include "CPortQueueHold.h"
#include "ConfiguratorStrings.h"
#include "Console.h"
#include "ConsoleNotifier.h"
#include "LineCandidates.h"
#include "LineNotices.h"
#include "PortRunner.h"
#include "PrinterNotices.h"
#include "ProgramQueues.h"
#include "Verbs.h"

namespace {

const char* ParityName(Parity parity) {
    return parity == Parity::Odd ? "odd" : parity == Parity::Even ? "even" : "none";
}

std::string Options(const std::string& port, const SerialLineRequest& line) {
    std::string options = "--port " + port + " --baud " + std::to_string(line.baudRate) +
                          " --flow " + FlowName(line.flowControl);
    if (line.parity != Parity::None) {
        options += std::string(" --parity ") + ParityName(line.parity);
    }
    if (line.stopBits == StopBits::Two) {
        options += " --stop-bits 2";
    }
    return options;
}

ChannelConfig LineOfRequest(ChannelConfig port, const SerialLineRequest& line) {
    port.baudRate = line.baudRate;
    port.parity = line.parity;
    port.stopBits = line.stopBits;
    port.flowControl = line.flowControl;
    return port;
}

std::string Seconds(std::chrono::milliseconds elapsed) {
    std::ostringstream text;
    text.precision(1);
    text << std::fixed << static_cast<double>(elapsed.count()) / 1000.0 << " s";
    return text.str();
}

const char* AnswerName(ProbeAnswer answer) {
    return answer == ProbeAnswer::Record  ? "record"
           : answer == ProbeAnswer::Noise ? "noise"
                                          : "silence";
}

void AddOnce(std::vector<std::string>& items, const std::string& item) {
    if (std::find(items.begin(), items.end(), item) == items.end()) {
        items.push_back(item);
    }
}

// "a, b and c"
std::string Listed(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t i = 0; i < items.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == items.size() ? " and " : ", ") + items[i];
    }
    return text;
}

nlohmann::json TriesAsJson(const LineDetection& found) {
    nlohmann::json tries = nlohmann::json::array();
    for (const ProbeTry& probe : found.tries) {
        tries.push_back({{"baud", probe.line.baudRate},
                         {"framing", FramingName(probe.line)},
                         {"flow", FlowName(probe.line.flowControl)},
                         {"answer", AnswerName(probe.answer)}});
    }
    return tries;
}

int ReportFound(const std::string& port, const LineDetection& found, nlohmann::json& details) {
    const SerialLineRequest& line = found.line;
    details["found"] = true;
    details["baud"] = line.baudRate;
    details["parity"] = ParityName(line.parity);
    details["stopBits"] = line.stopBits == StopBits::Two ? 2 : 1;
    details["flow"] = FlowName(line.flowControl);
    details["options"] = Options(port, line);
    Out() << "Printer found on " << port << ": " << line.baudRate << " bit/s, " << FramingName(line)
          << ", flow control " << FlowName(line.flowControl) << " (try " << found.tries.size()
          << " of " << found.candidates << ", " << Seconds(found.elapsed) << ").\n"
          << "Use: tq20 settings read " << Options(port, line) << '\n';
    return kDetectFound;
}

// What was tried, and where noise showed that something is on the line at all.
int ReportNoAnswer(const std::string& port, const LineDetection& found) {
    std::set<unsigned> noisy;
    for (const ProbeTry& probe : found.tries) {
        if (probe.answer == ProbeAnswer::Noise) {
            noisy.insert(probe.line.baudRate);
        }
    }
    Err() << "No printer answered on " << port << " (" << found.tries.size()
          << " line settings tried in " << Seconds(found.elapsed) << ").\n";
    std::vector<std::string> speeds;
    std::vector<std::string> flows;
    std::vector<std::string> framings;
    for (const ProbeTry& probe : found.tries) {
        AddOnce(speeds, std::to_string(probe.line.baudRate));
        AddOnce(flows, FlowName(probe.line.flowControl));
        AddOnce(framings, FramingName(probe.line));
    }
    Err() << "Tried at " << Listed(speeds) << " bit/s, each with flow control " << Listed(flows)
          << " (both is the same line as xonxoff) and framing " << Listed(framings) << ".\n";
    if (!noisy.empty()) {
        std::vector<std::string> noisySpeeds;
        for (unsigned speed : noisy) {
            noisySpeeds.push_back(std::to_string(speed));
        }
        Err() << "Noise came back at " << Listed(noisySpeeds)
              << " bit/s: something sends there, but not a TQ-20's settings.\n";
    }
    return kDetectNoAnswer;
}

}  // namespace

int DetectLine(const ChannelConfig& line, IJobProgress& progress, nlohmann::json& details,
               ChannelConfig& found) {
    CConsoleNotifier notifier;
    const CPortQueueHold hold(ProgramQueues(), line.portName);
    ShowQueuesNotHeld(notifier, hold.NotHeld());
    CLineDetector detector(line.portName);
    bool started = false;
    const LineDetection detection =
        detector.Run([&](int index, int count, const SerialLineRequest& trying) {
            if (!started) {
                progress.Start("searching", static_cast<std::size_t>(count));
                started = true;
            }
            progress.Retitle("trying " + std::to_string(trying.baudRate) + " bit/s " +
                             FramingName(trying) + " " + FlowName(trying.flowControl));
            progress.Show(static_cast<std::size_t>(index - 1));
        });
    if (started) {
        progress.Show(detection.tries.size());
        progress.Finish();
    }
    details["found"] = false;
    details["candidates"] = detection.candidates;
    details["tries"] = TriesAsJson(detection);
    switch (detection.status) {
        case LineDetection::Status::Found:
            found = LineOfRequest(line, detection.line);
            return ReportFound(line.portName, detection, details);
        case LineDetection::Status::PortNotOpened:
            Err() << PortNotOpenedText(detection.openFailure) << '\n';
            return kDetectPortNotOpened;
        case LineDetection::Status::LineLost:
            Err() << ConfigString(IDS_LINE_LOST) << '\n';
            return kDetectLineLost;
        default:
            return ReportNoAnswer(line.portName, detection);
    }
}
