// tq20 settings info
#include "CommandTable.h"
#include "Console.h"
#include "InfoText.h"
#include "SettingsSession.h"
#include "Verbs.h"

namespace {

int RunSettingsInfo(const ChannelConfig& line) {
    CPrinterSession session(line);
    if (!session.Open()) {
        return session.ExitCode();
    }
    std::string text;
    for (int item = 1; item <= 9; ++item) {
        const auto reply = session.Ask(CMD_GET_PRINTER_INFO, static_cast<std::uint8_t>(item),
                                       InfoTerminator(item), 0);
        if (!reply) {
            return session.ExitCode();
        }
        text += item < 9 ? InfoItemLine(item, *reply) : InfoFontLine(*reply);
    }
    const auto state = session.Ask(CMD_GET_STATUS, 0, std::nullopt, 1);
    if (!state || state->empty()) {
        return session.ExitCode();
    }
    Out() << text << InfoStateBlock((*state)[0]) << '\n';
    return kSettingsDone;
}

}  // namespace

void AddSettingsInfoVerb(CCommandLine& commandLine) {
    CLI::App* info = commandLine.AddSettingsVerb("info", "service information and state");
    commandLine.Register(
        info, CCommandLine::Printers::One,
        [](const CCommandLine::Lines& lines, bool) { return RunSettingsInfo(lines.front()); });
}
