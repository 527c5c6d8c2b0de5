// tq20 settings save FILE
#include <memory>

#include "SettingsFile.h"
#include "SettingsSession.h"
#include "SettingsText.h"
#include "Verbs.h"

namespace {

int RunSettingsSave(const ChannelConfig& line, const std::string& path) {
    CPrinterSession session(line);
    const auto settings = OpenAndRead(session);
    if (!settings) {
        return session.ExitCode();
    }
    std::string error;
    if (!WriteFileSafely(path, SettingsAsJson(*settings).dump(2) + "\n", error)) {
        return BadInput(error);
    }
    return kSettingsDone;
}

}  // namespace

void AddSettingsSaveVerb(CCommandLine& commandLine) {
    auto path = std::make_shared<std::string>();
    CLI::App* save = commandLine.AddSettingsVerb("save", "write the settings to a file");
    save->add_option("FILE", *path, "a JSON file")->required();
    commandLine.Register(save, CCommandLine::Printers::One,
                         [path](const CCommandLine::Lines& lines, bool) {
                             return RunSettingsSave(lines.front(), *path);
                         });
}
