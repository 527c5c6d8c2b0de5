// tq20 settings restore-file FILE
#include <memory>

#include "PortRunner.h"
#include "SettingsSession.h"
#include "SettingsWriter.h"
#include "Verbs.h"

namespace {

// Reads the record afresh and writes the named fields of wanted where they differ.
int WriteNamedFields(const ChannelConfig& line, const PrinterSettings& wanted,
                     const std::vector<std::size_t>& fields) {
    CPrinterSession session(line);
    const auto compose = [&](const PrinterSettings& current) {
        return WriteOfFields(current, wanted, fields);
    };
    return WriteSettings(session, compose) ? kSettingsDone : session.ExitCode();
}

int RunSettingsRestoreFile(const ChannelConfig& line, const std::string& path) {
    PrinterSettings wanted{};
    std::vector<std::size_t> fields;
    if (!ReadSettingsFile(path, wanted, fields)) {
        return kSettingsBadInput;
    }
    return WriteNamedFields(line, wanted, fields);
}

}  // namespace

void AddSettingsRestoreFileVerb(CCommandLine& commandLine) {
    auto path = std::make_shared<std::string>();
    CLI::App* restoreFile =
        commandLine.AddSettingsVerb("restore-file", "write settings saved in a file");
    restoreFile->add_option("FILE", *path, "a file written by save")->required();
    AddManyPrinterOptions(*restoreFile, commandLine.Ports(), commandLine.AsJson());
    commandLine.Register(restoreFile, CCommandLine::Printers::Many,
                         [path](const CCommandLine::Lines& lines, bool asJson) {
                             return RunOnLines(
                                 lines, asJson,
                                 [&](const ChannelConfig& one, IJobProgress&, nlohmann::json&) {
                                     return RunSettingsRestoreFile(one, *path);
                                 });
                         });
}
