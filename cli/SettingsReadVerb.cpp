// tq20 settings read
#include "Console.h"
#include "SettingsSession.h"
#include "SettingsTable.h"
#include "Verbs.h"

namespace {

int RunSettingsRead(const ChannelConfig& line, bool asJson) {
    CPrinterSession session(line);
    const auto settings = OpenAndRead(session);
    if (!settings) {
        return session.ExitCode();
    }
    Out() << (asJson ? SettingsMeaningJsonText(*settings) : SettingsTable(*settings));
    return kSettingsDone;
}

}  // namespace

void AddSettingsReadVerb(CCommandLine& commandLine) {
    CLI::App* read =
        commandLine.AddSettingsVerb("read", "print every setting: its byte and what it means");
    read->add_flag("--json", commandLine.AsJson(), "print each field's byte and meaning as JSON");
    commandLine.Register(read, CCommandLine::Printers::One,
                         [](const CCommandLine::Lines& lines, bool asJson) {
                             return RunSettingsRead(lines.front(), asJson);
                         });
}
