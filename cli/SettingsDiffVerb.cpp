// tq20 settings diff FILE
#include <memory>

#include "Console.h"
#include "SettingsDiff.h"
#include "SettingsSession.h"
#include "Verbs.h"

namespace {

const char* const kSettingsDiffExitCodeHelp =
    "diff ends with 0 when the printer holds the file's settings and 1 when they differ; the "
    "field no command writes (reserved14) is not compared.";

// Compares what a restore of the file would write; the field no command writes is left out.
int RunSettingsDiff(const ChannelConfig& line, const std::string& path) {
    PrinterSettings file{};
    std::vector<std::size_t> fields;
    if (!ReadSettingsFile(path, file, fields)) {
        return kSettingsBadInput;
    }
    CPrinterSession session(line);
    const auto printer = OpenAndRead(session);
    if (!printer) {
        return session.ExitCode();
    }
    const std::string differences = SettingsDifferences(*printer, file, fields);
    Out() << differences;
    return differences.empty() ? kSettingsDone : kSettingsDiffer;
}

}  // namespace

void AddSettingsDiffVerb(CCommandLine& commandLine) {
    auto path = std::make_shared<std::string>();
    CLI::App* diff =
        commandLine.AddSettingsVerb("diff", "the fields where the printer and a saved file differ");
    diff->add_option("FILE", *path, "a file written by save or read --json")->required();
    diff->footer(std::string(kSettingsDiffExitCodeHelp) + "\n" + commandLine.SettingsFooter());
    commandLine.Register(diff, CCommandLine::Printers::One,
                         [path](const CCommandLine::Lines& lines, bool) {
                             return RunSettingsDiff(lines.front(), *path);
                         });
}
