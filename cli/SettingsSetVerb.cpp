// tq20 settings set NAME=VALUE...
#include <memory>

#include "PortRunner.h"
#include "SettingEdit.h"
#include "SettingsSession.h"
#include "SettingsWriter.h"
#include "Verbs.h"

namespace {

// Every value is checked before the port opens. Meanings go through the pages' store rules
// onto the record as read, so a style flag keeps the rest of its byte; the fields not named are
// written as read.
int RunSettingsSet(const ChannelConfig& line, const std::vector<std::string>& assignments) {
    std::vector<SettingEdit> edits;
    for (const std::string& assignment : assignments) {
        std::string error;
        const auto edit = ParseEdit(assignment, error);
        if (!edit) {
            return BadInput(error);
        }
        edits.push_back(*edit);
    }
    CPrinterSession session(line);
    const auto compose = [&edits](const PrinterSettings& current) {
        PrinterSettings wanted = current;
        std::vector<std::size_t> fields;
        for (const SettingEdit& edit : edits) {
            ApplyEdit(edit, wanted);
            fields.push_back(edit.field);
        }
        return WriteOfFields(current, wanted, fields);
    };
    return WriteSettings(session, compose) ? kSettingsDone : session.ExitCode();
}

}  // namespace

void AddSettingsSetVerb(CCommandLine& commandLine) {
    auto assignments = std::make_shared<std::vector<std::string>>();
    CLI::App* set = commandLine.AddSettingsVerb("set", "change settings, NAME=VALUE");
    set->add_option("ASSIGNMENTS", *assignments,
                    "for example contrast=12 alignment=center bold=on portBaud=9600")
        ->required();
    set->footer(MeaningHelp() + "\n\n" + commandLine.SettingsFooter());
    AddManyPrinterOptions(*set, commandLine.Ports(), commandLine.AsJson());
    commandLine.Register(set, CCommandLine::Printers::Many,
                         [assignments](const CCommandLine::Lines& lines, bool asJson) {
                             return RunOnLines(
                                 lines, asJson,
                                 [&](const ChannelConfig& one, IJobProgress&, nlohmann::json&) {
                                     return RunSettingsSet(one, *assignments);
                                 });
                         });
}
