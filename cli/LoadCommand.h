#pragma once

#include <string>

#include "ChannelConfig.h"
#include "JobProgress.h"

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

extern const char* const kLoadExitCodesHelp;

// Loads a program or font file into the printer on the line, showing how far it is.
int RunLoad(const ChannelConfig& line, const std::string& path, IJobProgress& progress);
