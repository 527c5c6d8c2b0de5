#include "PortRunner.h"

#include <algorithm>
#include <cstdio>
#include <iomanip>
#include <iostream>
#include <sstream>
#include <system_error>
#include <thread>

#include "CProgressBoard.h"
#include "Console.h"
#include "LoadProgress.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

std::string Seconds(std::chrono::milliseconds elapsed) {
    std::ostringstream text;
    text << std::fixed << std::setprecision(1) << static_cast<double>(elapsed.count()) / 1000.0
         << " s";
    return text.str();
}

PortOutcome RunOne(const ChannelConfig& line, const PortJob& job, IJobProgress& progress) {
    PortOutcome outcome;
    outcome.port = LineName(line);
    const auto started = Clock::now();
    CConsoleCapture capture;
    outcome.exitCode = job(line, progress, outcome.details);
    outcome.elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started);
    outcome.out = capture.OutText();
    outcome.err = capture.ErrText();
    return outcome;
}

nlohmann::json AsJson(const PortOutcome& outcome) {
    nlohmann::json object = {{"port", outcome.port},
                             {"exitCode", outcome.exitCode},
                             {"result", ResultText(outcome)},
                             {"messages", Lines(outcome.err)},
                             {"output", Lines(outcome.out)},
                             {"seconds", static_cast<double>(outcome.elapsed.count()) / 1000.0}};
    object.update(outcome.details);
    return object;
}

// Columns are measured in characters, not bytes: the printer's sentences are Russian.
std::size_t Width(const std::string& text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(const std::string& text, std::size_t width) {
    return text + std::string(width - std::min(width, Width(text)) + 2, ' ');
}

void PrintTable(const std::vector<PortOutcome>& outcomes) {
    std::size_t portWidth = 4;
    std::size_t resultWidth = 6;
    for (const PortOutcome& outcome : outcomes) {
        portWidth = std::max(portWidth, Width(outcome.port));
        resultWidth = std::max(resultWidth, Width(ResultText(outcome)));
    }
    const auto row = [&](const std::string& port, const std::string& result,
                         const std::string& time) {
        std::cout << Padded(port, portWidth) << Padded(result, resultWidth) << time << '\n';
    };
    row("PORT", "RESULT", "TIME");
    for (const PortOutcome& outcome : outcomes) {
        row(outcome.port, ResultText(outcome), Seconds(outcome.elapsed));
    }
}

}  // namespace

std::string LineName(const ChannelConfig& line) {
    if (line.transport == TransportKind::Serial) {
        return line.portName;
    }
    return line.host + ":" + std::to_string(line.hostPort);
}

std::string ResultText(const PortOutcome& outcome) {
    const auto out = Lines(outcome.out);
    const auto err = Lines(outcome.err);
    if (outcome.exitCode == 0) {
        return out.empty() ? "done" : out.back();
    }
    // The first line is the sentence that says what happened; the lines after it explain.
    const std::string sentence = err.empty() ? "failed" : err.front();
    return sentence + " (exit " + std::to_string(outcome.exitCode) + ")";
}

std::vector<PortOutcome> RunOnPorts(const std::vector<ChannelConfig>& lines, const PortJob& job) {
    std::vector<std::string> names;
    for (const ChannelConfig& line : lines) {
        names.push_back(LineName(line));
    }
    CProgressBoard board(stderr, names);
    std::vector<PortOutcome> outcomes(lines.size());
    std::vector<std::thread> threads;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto work = [&, i] {
            outcomes[i] = RunOne(lines[i], job, board.Row(i));
            board.Done(i, ResultText(outcomes[i]));
        };
        try {
            threads.emplace_back(work);
        } catch (const std::system_error&) {
            work();  // no thread to be had: this port's turn comes now, on this one
        }
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    return outcomes;
}

int ReportOutcomes(const std::vector<PortOutcome>& outcomes, bool asJson) {
    if (asJson) {
        for (const PortOutcome& outcome : outcomes) {
            std::cout << AsJson(outcome).dump() << '\n';
        }
    } else {
        for (const PortOutcome& outcome : outcomes) {
            for (const std::string& line : Lines(outcome.err)) {
                std::cerr << outcome.port << ": " << line << '\n';
            }
        }
        PrintTable(outcomes);
    }
    std::cout.flush();
    const auto failed =
        std::find_if(outcomes.begin(), outcomes.end(),
                     [](const PortOutcome& outcome) { return outcome.exitCode != 0; });
    return failed == outcomes.end() ? 0 : failed->exitCode;
}

int RunOnLines(const std::vector<ChannelConfig>& lines, bool asJson, const PortJob& job) {
    if (lines.size() == 1 && !asJson) {
        CLoadProgress progress(stderr);
        nlohmann::json details;
        return job(lines.front(), progress, details);
    }
    return ReportOutcomes(RunOnPorts(lines, job), asJson);
}
