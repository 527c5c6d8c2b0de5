#pragma once

#include <string>

#include "LineLoss.h"
#include "OpenFailure.h"
#include "UserNotifier.h"

// The front-ends' words for what the line layer hands back, in one place so that the window,
// the loader and tq20 say the same.

// "Can't open a specified port", with the cause on a second line when one is known.
std::string PortNotOpenedText(const OpenFailure& failure);

// The warning that comes before a port refusal when the system could not start what the
// connection needs (a thread, Winsock); nothing for the other failures.
void ShowUnstarted(IUserNotifier& notifier, const OpenFailure& failure);

// The error a lost TCP connection is named by, under the program's title; nothing for a line
// lost without a cause (a serial hang-up).
void ShowLineLoss(IUserNotifier& notifier, LineLoss loss);
