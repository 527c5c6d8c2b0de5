// tq20 test-print
#include <chrono>
#include <memory>

#include "ConfiguratorStrings.h"
#include "Console.h"
#include "PortRunner.h"
#include "ReceiptPicture.h"
#include "SettingsSession.h"
#include "TestPrintComposer.h"
#include "TestPrintSample.h"
#include "Verbs.h"

namespace {

struct TestPrintJob {
    std::string samplePath;
    std::string sample;
    std::string date;
    std::string preview;
};

int RunTestPrint(const ChannelConfig& line, const TestPrintJob& job) {
    CPrinterSession session(line);
    const auto record = OpenAndRead(session);
    if (!record) {
        return session.ExitCode();
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ComposeTestPrint(job.sample, *record, job.date, bytes, error)) {
        return BadInput(error);
    }
    if (!job.preview.empty()) {
        session.Close();
        return WriteReceiptPicture(bytes, *record, job.preview, error) ? kSettingsDone
                                                                       : BadInput(error);
    }
    if (!session.Print(bytes)) {
        return session.ExitCode();
    }
    Out() << ConfigString(IDS_TEST_PRINT_SENT) << '\n';
    return kSettingsDone;
}

}  // namespace

void AddTestPrintVerb(CCommandLine& commandLine) {
    auto job = std::make_shared<TestPrintJob>();
    CLI::App* testPrint = commandLine.App().add_subcommand(
        "test-print", "print a sample receipt that shows the printer's current settings");
    testPrint->footer(commandLine.SettingsFooter());
    AddLineOptions(*testPrint, commandLine.Line(), commandLine.Tcp(), commandLine.Ports(),
                   kSettingsSpeeds);
    AddFramingOptions(*testPrint, commandLine.Line());
    testPrint->add_option("--sample", job->samplePath,
                          "a sample text with markup lines instead of the built-in one");
    testPrint->add_option("--preview", job->preview,
                          "draw the receipt into this PNG file instead of printing it");
    AddManyPrinterOptions(*testPrint, commandLine.Ports(), commandLine.AsJson());
    commandLine.Register(
        testPrint, CCommandLine::Printers::Many,
        [job](const CCommandLine::Lines& lines, bool asJson) {
            if (lines.size() > 1 && !job->preview.empty()) {
                Err() << "tq20: --preview draws one printer's receipt: name one port.\n";
                return kUsageError;
            }
            if (!ReadTestPrintSample(job->samplePath, job->sample)) {
                return static_cast<int>(kSettingsBadInput);
            }
            job->date = TestPrintDate(std::chrono::system_clock::now());
            return RunOnLines(lines, asJson,
                              [job](const ChannelConfig& one, IJobProgress&, nlohmann::json&) {
                                  return RunTestPrint(one, *job);
                              });
        });
}
