#pragma once

#include <string>
#include <vector>

#include "UserNotifier.h"

// Tells the user, in one line, which printer queues could not be kept off the port (a user who
// may not manage queues); the connection goes ahead. Nothing is shown when the list is empty.
void WarnQueuesNotHeld(IUserNotifier& notifier, const std::vector<std::string>& queues);
