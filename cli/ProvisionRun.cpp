#include "ProvisionRun.h"

#include <chrono>
#include <ctime>
#include <map>
#include <mutex>
#include <optional>

#include "Console.h"
#include "ConversationRunner.h"
#include "DetectLine.h"
#include "ExitCodes.h"
#include "LoadRun.h"
#include "SettingsDiff.h"
#include "SettingsWriter.h"
#include "StopRequest.h"
#include "TestPrintRun.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kSerialItem = 3;
constexpr int kFirmwareItem = 4;
constexpr int kFontItem = 9;

std::string UtcNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
#ifdef _WIN32
    gmtime_s(&utc, &now);
#else
    gmtime_r(&now, &utc);
#endif
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The first line of what a step printed on its error stream: the failure in its own words.
std::string FirstLine(const std::string& text) {
    return text.substr(0, text.find('\n'));
}

class CProvisionRun {
public:
    CProvisionRun(const ChannelConfig& port, const ProvisionPlan& plan, IJobProgress& progress)
        : m_port(port), m_line(port), m_plan(plan), m_progress(progress) {
        m_record.time = UtcNow();
        m_record.station = plan.station;
        m_record.port = port.transport == TransportKind::Tcp
                            ? port.host + ":" + std::to_string(port.hostPort)
                            : port.portName;
        m_record.model = plan.profile.model;
        m_record.profileDigest = plan.digest;
    }

    const ProvisionRecord& Record() const { return m_record; }

    int Run() {
        int code = Step("line", [this] { return FindLine(); });
        if (code == kProvisionDone) {
            code = Steps();
        }
        return Finish(code);
    }

private:
    int Steps() {
        // A printer that answers only in its boot area was cut off in a load: it is loaded
        // again, and tells what it is afterwards.
        const bool answered = Step("info", [this] { return ReadInfo(true); }) == kProvisionDone;
        if (!answered && (m_failure != kSettingsTimeout || m_plan.profile.firmwarePath.empty())) {
            return m_failure;
        }
        if (answered && !m_plan.force &&
            AlreadyDone(m_plan.earlier, m_record.serial, m_plan.digest)) {
            m_alreadyDone = true;
            return kProvisionDone;
        }
        const ProvisionProfile& profile = m_plan.profile;
        int code = Load("firmware", profile.firmwarePath, profile.firmwareVersion, kFirmwareItem,
                        !answered);
        if (code == kProvisionDone) {
            code = Load("font", profile.fontPath, profile.fontName, kFontItem, false);
        }
        if (code == kProvisionDone && profile.HasSettings()) {
            code = Step("settings", [this] { return WriteSettings(); });
            if (code == kProvisionDone) {
                code = Step("verify", [this] { return Verify(); });
            }
        }
        if (code == kProvisionDone && profile.testPrint) {
            code = Step("test-print", [this] {
                TestPrintJob job;
                job.sample = m_plan.testPrintSample;
                job.date = m_plan.testPrintDate;
                return PrintTestReceipt(m_line, job);
            });
        }
        return code;
    }

    // Runs one step; what it printed follows it, and its error's first line is kept for the
    // record.
    template <typename Work>
    int Step(const char* name, Work work) {
        if (StopRequested()) {
            m_record.steps.push_back({name, "stopped", 0});
            m_record.error = "Stopped before this step.";
            return m_failure = kProvisionStopped;
        }
        m_progress.Retitle(name);
        const auto start = Clock::now();
        std::string output;
        std::string errors;
        int code = 0;
        {
            CConsoleCapture capture;
            code = work();
            output = capture.OutText();
            errors = capture.ErrText();
        }
        Out() << output;
        Err() << errors;
        m_record.steps.push_back(
            {name, code == kProvisionDone ? "done" : "failed", SecondsSince(start)});
        if (code != kProvisionDone) {
            m_failure = code;
            m_record.error = FirstLine(errors);
        }
        return code;
    }

    void Skip(const char* name) { m_record.steps.push_back({name, "skipped", 0}); }

    int FindLine() {
        if (!m_plan.profile.findLine) {
            m_line = LineAt(m_port, m_plan.profile.line);
            return kProvisionDone;
        }
        nlohmann::json details;
        return DetectLine(m_port, m_progress, details, m_line);
    }

    // Items 3, 4 and 9 of the service information; the first reading is what the printer
    // came with.
    int ReadInfo(bool first) {
        CPrinterSession session(m_line);
        if (!session.Open()) {
            return session.ExitCode();
        }
        CSettingsConversation conversation;
        std::map<int, std::string> items;
        const bool read = RunConversation(session, conversation, conversation.StartInfo(),
                                          [&items](const ConversationStep& step) {
                                              if (step.infoItem) {
                                                  items[step.infoItem->first] =
                                                      step.infoItem->second;
                                              }
                                          });
        if (!read) {
            return session.ExitCode();
        }
        m_record.serial = items[kSerialItem];
        m_record.firmwareAfter = items[kFirmwareItem];
        m_record.fontAfter = items[kFontItem];
        if (first) {
            m_record.firmwareBefore = m_record.firmwareAfter;
            m_record.fontBefore = m_record.fontAfter;
        }
        return kProvisionDone;
    }

    // A firmware or font load, only where the printer reports another version or name (or
    // cannot tell, or force), checked again afterwards.
    int Load(const char* name, const std::string& path, const std::string& wanted, int item,
             bool mustLoad) {
        const std::string& held =
            item == kFirmwareItem ? m_record.firmwareAfter : m_record.fontAfter;
        if (path.empty() || (!mustLoad && !m_plan.force && held == wanted)) {
            Skip(name);
            return kProvisionDone;
        }
        return Step(name, [&] {
            const int code = LoadDataFile(m_line, path, m_progress);
            if (code != kLoadDone) {
                return code;
            }
            const int read = ReadInfo(false);
            if (read != kProvisionDone) {
                return read;
            }
            const std::string& now =
                item == kFirmwareItem ? m_record.firmwareAfter : m_record.fontAfter;
            if (now != wanted) {
                Err() << "After the load the printer reports " << name << " \"" << now
                      << "\", not \"" << wanted << "\".\n";
                return static_cast<int>(kProvisionWrongVersion);
            }
            return static_cast<int>(kProvisionDone);
        });
    }

    int WriteSettings() {
        CPrinterSession session(m_line);
        const auto compose = [this](const PrinterSettings& current) {
            m_wanted = m_plan.profile.Wanted(current, m_fields);
            return WriteOfFields(current, m_wanted, m_fields);
        };
        const bool written = ::WriteSettings(session, compose);
        m_line = session.Line();  // a new port of the printer's is where it answers now
        return written ? kSettingsDone : session.ExitCode();
    }

    int Verify() {
        CPrinterSession session(m_line);
        const auto printer = OpenAndRead(session);
        if (!printer) {
            return session.ExitCode();
        }
        const std::string differences = SettingsDifferences(*printer, m_wanted, m_fields);
        if (differences.empty()) {
            return kProvisionDone;
        }
        Err() << "The printer's settings differ from the profile's:\n" << differences;
        return kProvisionNotVerified;
    }

    // The record is on the disk before the printer counts as done.
    int Finish(int code) {
        m_record.result = m_alreadyDone               ? "already done"
                          : code == kProvisionDone    ? "done"
                          : code == kProvisionStopped ? "stopped"
                                                      : "failed";
        m_record.seconds = SecondsSince(m_start);
        if (code == kProvisionDone) {
            m_record.error.clear();  // a boot-area printer's silence, mended by its load
        }
        std::string error;
        if (!AppendRecord(m_plan.recordPath, m_plan.csvPath, m_record, error)) {
            Err() << "The record could not be written: " << error << '\n';
            return kProvisionRecordNotWritten;
        }
        if (code == kProvisionDone) {
            Out() << (m_alreadyDone ? "already done: " : "done: ") << m_record.serial << '\n';
        } else {
            Err() << "Provisioning ended at the step \"" << m_record.FailedStep() << "\".\n";
        }
        return code;
    }

    ChannelConfig m_port;
    ChannelConfig m_line;
    const ProvisionPlan& m_plan;
    IJobProgress& m_progress;
    ProvisionRecord m_record;
    Clock::time_point m_start = Clock::now();
    int m_failure = kProvisionDone;
    bool m_alreadyDone = false;
    PrinterSettings m_wanted{};
    std::vector<std::size_t> m_fields;
};

}  // namespace

int ProvisionPrinter(const ChannelConfig& port, const ProvisionPlan& plan, IJobProgress& progress,
                     ProvisionRecord& outcome) {
    CProvisionRun run(port, plan, progress);
    const int code = run.Run();
    outcome = run.Record();
    return code;
}
