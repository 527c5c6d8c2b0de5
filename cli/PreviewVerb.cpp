// tq20 preview
#include <chrono>
#include <memory>

#include "FactorySettings.h"
#include "ReceiptPicture.h"
#include "SettingsSession.h"
#include "TestPrintComposer.h"
#include "TestPrintSample.h"
#include "Verbs.h"

namespace {

struct PreviewJob {
    std::string settingsPath;
    std::string samplePath;
    std::string picture;
};

int RunPreview(const PreviewJob& job) {
    PrinterSettings record = kFactorySettings;
    std::vector<std::size_t> fields;
    if (!job.settingsPath.empty() && !ReadSettingsFile(job.settingsPath, record, fields)) {
        return kSettingsBadInput;
    }
    std::string sample;
    if (!ReadTestPrintSample(job.samplePath, sample)) {
        return kSettingsBadInput;
    }
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!ComposeTestPrint(sample, record, TestPrintDate(std::chrono::system_clock::now()), bytes,
                          error) ||
        !WriteReceiptPicture(bytes, record, job.picture, error)) {
        return BadInput(error);
    }
    return kSettingsDone;
}

}  // namespace

void AddPreviewVerb(CCommandLine& commandLine) {
    auto job = std::make_shared<PreviewJob>();
    CLI::App* preview = commandLine.App().add_subcommand(
        "preview", "draw the test receipt as a PNG from a settings file, without a printer");
    preview->footer("Exit codes: 0 drawn; 6 a wrong settings file, sample or picture file.\n" +
                    std::string(kUsageExitCodeHelp));
    preview->add_option("--settings", job->settingsPath,
                        "a file written by \"settings save\" (default: the factory settings)");
    preview->add_option("--sample", job->samplePath,
                        "a sample text with markup lines instead of the built-in one");
    preview->add_option("PICTURE", job->picture, "the PNG file to write")->required();
    commandLine.Register(preview, CCommandLine::Printers::None,
                         [job](const CCommandLine::Lines&, bool) { return RunPreview(*job); });
}
