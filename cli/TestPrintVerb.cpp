// tq20 test-print
#include <chrono>
#include <memory>

#include "Console.h"
#include "PortRunner.h"
#include "TestPrintComposer.h"
#include "TestPrintRun.h"
#include "TestPrintSample.h"
#include "Verbs.h"

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
                                  return PrintTestReceipt(one, *job);
                              });
        });
}
