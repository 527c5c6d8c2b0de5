#include "ConversationRunner.h"

#include <thread>

#include "ConfiguratorStrings.h"
#include "SettingValues.h"

namespace {

// tq20 reads at once after opening: it has no window to draw first.
constexpr std::chrono::milliseconds kReadAfterOpen{0};

// The conversation's own failures, worded for the error stream.
bool Judge(CPrinterSession& session, const ConversationStep& last) {
    if (last.badReply) {
        session.Fail(ConfigString(IDS_BAD_REPLY), kSettingsBadReply);
        return false;
    }
    if (const auto& miss = last.notTaken) {
        session.Fail(std::string("The printer did not take ") + SettingName(miss->field) +
                         ": it holds " + std::to_string(miss->held) + ", not " +
                         std::to_string(miss->wanted) + ".",
                     kSettingsNotTaken);
        return false;
    }
    return true;
}

bool RunLine(CPrinterSession& session, const ConversationStep& step) {
    switch (step.line) {
        case LineAction::Close:
            session.Close();
            break;
        case LineAction::Reopen:
            return session.Reopen(LineAt(session.Line(), step.reopenAt));
        case LineAction::Keep:
            break;
    }
    return true;
}

}  // namespace

bool RunConversation(CPrinterSession& session, CSettingsConversation& conversation,
                     ConversationStep step, const StepObserver& observe) {
    for (;;) {
        if (observe) {
            observe(step);
        }
        if (step.finished) {
            return Judge(session, step);
        }
        std::this_thread::sleep_for(step.pause);
        if (!RunLine(session, step)) {
            conversation.Abandon();
            return false;
        }
        if (step.options) {
            session.Save(step.options->record, step.options->group, step.options->mask);
        }
        if (step.request) {
            const auto reply = session.Request(*step.request);
            if (!reply) {
                conversation.Abandon();
                return false;
            }
            if (step.request->AwaitsReply()) {
                step = conversation.OnReply(*reply);
                continue;
            }
        }
        step = conversation.Next();
    }
}

std::optional<PrinterSettings> OpenAndRead(CPrinterSession& session) {
    if (!session.Open()) {
        return std::nullopt;
    }
    CSettingsConversation conversation;
    std::optional<PrinterSettings> record;
    const bool read = RunConversation(session, conversation, conversation.StartRead(kReadAfterOpen),
                                      [&](const ConversationStep& step) {
                                          if (step.settings) {
                                              record = step.settings;
                                          }
                                      });
    return read ? record : std::nullopt;
}
