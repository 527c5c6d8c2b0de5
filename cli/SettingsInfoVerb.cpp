// tq20 settings info
#include "Console.h"
#include "ConversationRunner.h"
#include "SettingsSession.h"
#include "Verbs.h"

namespace {

int RunSettingsInfo(const ChannelConfig& line) {
    CPrinterSession session(line);
    if (!session.Open()) {
        return session.ExitCode();
    }
    CSettingsConversation conversation;
    std::string text;
    const bool done = RunConversation(session, conversation, conversation.StartInfo(),
                                      [&text](const ConversationStep& step) {
                                          if (step.infoText) {
                                              text += *step.infoText;
                                          }
                                      });
    if (!done) {
        return session.ExitCode();
    }
    Out() << text << '\n';
    return kSettingsDone;
}

}  // namespace

void AddSettingsInfoVerb(CCommandLine& commandLine) {
    CLI::App* info = commandLine.AddSettingsVerb("info", "service information and state");
    commandLine.Register(
        info, CCommandLine::Printers::One,
        [](const CCommandLine::Lines& lines, bool) { return RunSettingsInfo(lines.front()); });
}
