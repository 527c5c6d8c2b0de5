#pragma once

#include <string>
#include <vector>

#include "ChannelConfig.h"

extern const char* const kSettingsExitCodesHelp;
extern const char* const kSettingsDiffExitCodeHelp;

// "tq20 settings ...": each returns the exit code.
int RunSettingsRead(const ChannelConfig& line, bool asJson);
int RunSettingsSet(const ChannelConfig& line, const std::vector<std::string>& assignments);
int RunSettingsSave(const ChannelConfig& line, const std::string& path);
int RunSettingsRestoreFile(const ChannelConfig& line, const std::string& path);
// 0 when the printer holds the file's settings, 1 (kSettingsDiffer) when not.
int RunSettingsDiff(const ChannelConfig& line, const std::string& path);
int RunSettingsInfo(const ChannelConfig& line);
int RunSettingsRestore(const ChannelConfig& line, const std::string& which);
