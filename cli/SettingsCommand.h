#pragma once

#include "ChannelConfig.h"

// Exit codes of "tq20 settings".
enum SettingsExitCode : int {
    kSettingsDone = 0,
    kSettingsPortNotOpened = 3,
    kSettingsTimeout = 4,
    kSettingsBadReply = 5,
};

extern const char* const kSettingsExitCodesHelp;

// Prints the printer's settings record, by field name or as JSON.
int RunSettingsRead(const ChannelConfig& line, bool asJson);
