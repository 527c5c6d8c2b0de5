// tq20 settings restore factory|saved
#include <memory>

#include "Console.h"
#include "ConversationRunner.h"
#include "SettingsSession.h"
#include "SettingsTable.h"
#include "Verbs.h"

namespace {

// The factory settings bring the printer to 115200 bit/s, 8N1, RTS/CTS; the table printed is
// the record read back at the line the printer comes back on.
int RunSettingsRestore(const ChannelConfig& line, const std::string& which) {
    CPrinterSession session(line);
    if (!session.Open()) {
        return session.ExitCode();
    }
    CSettingsConversation conversation;
    const ConversationStep first =
        which == "saved" ? conversation.StartSavedRestore() : conversation.StartFactoryRestore();
    std::optional<PrinterSettings> restored;
    const bool done =
        RunConversation(session, conversation, first, [&](const ConversationStep& step) {
            if (step.settings) {
                restored = step.settings;
            }
        });
    if (!done || !restored) {
        return session.ExitCode();
    }
    Out() << SettingsTable(*restored);
    return kSettingsDone;
}

}  // namespace

void AddSettingsRestoreVerb(CCommandLine& commandLine) {
    auto which = std::make_shared<std::string>();
    CLI::App* restore = commandLine.AddSettingsVerb("restore", "the factory or the saved settings");
    restore->add_option("WHICH", *which, "factory or saved")
        ->required()
        ->check(CLI::IsMember({"factory", "saved"}));
    commandLine.Register(restore, CCommandLine::Printers::One,
                         [which](const CCommandLine::Lines& lines, bool) {
                             return RunSettingsRestore(lines.front(), *which);
                         });
}
