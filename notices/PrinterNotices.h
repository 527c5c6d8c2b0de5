#pragma once

#include <string>
#include <vector>

#include "CMiniPrinter.h"
#include "UserNotifier.h"

// The window's and tq20's words for what the printer object refused or could not do, with the
// captions and icons the tools have always used.

// What the printer's last operation was refused for; nothing when it was not refused.
void ShowPrinterRefusal(IUserNotifier& notifier, const CMiniPrinter& printer);

// After a Connect, in the order the tools have always told them: the queues that may still
// print to the port, then why the connect was refused, if it was.
void ShowConnectNotices(IUserNotifier& notifier, const CMiniPrinter& printer);

// The printer queues that could not be kept off the port, in one warning; nothing when none.
void ShowQueuesNotHeld(IUserNotifier& notifier, const std::vector<std::string>& queues);
