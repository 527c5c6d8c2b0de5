// tq20 settings restore factory|saved
#include <memory>
#include <thread>

#include "CommandTable.h"
#include "Console.h"
#include "ConversationTimings.h"
#include "FactoryLine.h"
#include "SettingsSession.h"
#include "SettingsTable.h"
#include "Verbs.h"

namespace {

int PrintAfterRestore(CPrinterSession& session) {
    const auto settings = session.ReadSettings();
    if (!settings) {
        return session.ExitCode();
    }
    Out() << SettingsTable(*settings);
    return kSettingsDone;
}

// The factory settings bring the printer to 115200 bit/s, 8N1, RTS/CTS.
int RunSettingsRestore(const ChannelConfig& line, const std::string& which) {
    CPrinterSession session(line);
    if (!session.Open()) {
        return session.ExitCode();
    }
    if (which == "saved") {
        session.Send(CMD_RESTORE_SAVED);
        std::this_thread::sleep_for(kSavedRestoreDelay);
        return PrintAfterRestore(session);
    }
    session.Send(CMD_RESTORE_FACTORY);
    std::this_thread::sleep_for(kFactoryResetDelay);
    session.Close();
    std::this_thread::sleep_for(kFactoryResetDelay);
    if (!session.Reopen(FactoryLine(line))) {
        return session.ExitCode();
    }
    std::this_thread::sleep_for(kFirstReadDelay);
    return PrintAfterRestore(session);
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
