#pragma once

// Every exit code of tq20, by command. The manual page and each command's --help list them.

// Every command of tq20 ends with this code when its command line cannot be used.
inline constexpr int kUsageError = 2;

// Exit codes of "tq20 settings".
enum SettingsExitCode : int {
    kSettingsDone = 0,
    kSettingsPortNotOpened = 3,
    kSettingsTimeout = 4,
    kSettingsBadReply = 5,
    kSettingsBadInput = 6,
    kSettingsLineLost = 7,
    kSettingsNotTaken = 8,
};

// "settings diff" ends with this code when the printer and the file differ, as diff(1) does.
inline constexpr int kSettingsDiffer = 1;

// Exit codes of "tq20 detect".
enum DetectExitCode : int {
    kDetectFound = 0,
    kDetectPortNotOpened = 3,
    kDetectLineLost = 7,
    kDetectNoAnswer = 9,
};

// Exit codes of "tq20 load", one for every way a load can end.
enum LoadExitCode : int {
    kLoadDone = 0,
    kLoadCannotOpenFile = 10,
    kLoadBadFile = 11,
    kLoadPortNotOpened = 12,
    kLoadTimeout = 20,
    kLoadBadController = 21,
    kLoadModelMismatch = 22,
    kLoadBadPacket = 23,
    kLoadBadCommand = 24,
    kLoadBadAddress = 25,
    kLoadBadSize = 26,
    kLoadIntegrity = 27,
    kLoadNoData = 28,
    kLoadBadBlockCrc = 29,
    kLoadBadEcho = 30,
    kLoadLineLost = 31,
    kLoadNoRoom = 32,
};

// Exit codes of "tq20 provision" of its own; a step that fails ends with that step's code (the
// settings, load and detect codes above).
enum ProvisionExitCode : int {
    kProvisionDone = 0,
    kProvisionBadProfile = 40,
    kProvisionRecordNotWritten = 41,
    kProvisionWrongVersion = 42,
    kProvisionNotVerified = 43,
    kProvisionStopped = 44,
};
