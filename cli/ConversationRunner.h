#pragma once

#include <functional>

#include "CPrinterSession.h"
#include "CSettingsConversation.h"

// tq20's driver of the settings conversations: carries out each step on the session's line,
// blocking (the pauses as sleeps, every reply awaited), and hands each step's products to
// observe before the step runs. True when the conversation ended well; otherwise the session
// has printed why and holds the exit code.
using StepObserver = std::function<void(const ConversationStep&)>;
bool RunConversation(CPrinterSession& session, CSettingsConversation& conversation,
                     ConversationStep step, const StepObserver& observe = {});

// Opens the session's line and reads the record; empty when either failed.
std::optional<PrinterSettings> OpenAndRead(CPrinterSession& session);
