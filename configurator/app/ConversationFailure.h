#pragma once

#include <string>

#include "CConversationDriver.h"

// What the window says when a conversation fails on a silent printer or a lost line: the
// sentence it has always shown, and under it what to do, or what the printer holds after a save
// that was cut off.
std::string ConversationFailureText(Conversation conversation, ConversationEnd end,
                                    SaveReach reach);
