#pragma once

#include "CCommandLine.h"

// Each verb of tq20 adds itself to the command line, in the order of tq20 --help.
void AddSettingsReadVerb(CCommandLine& commandLine);
void AddSettingsSetVerb(CCommandLine& commandLine);
void AddSettingsSaveVerb(CCommandLine& commandLine);
void AddSettingsRestoreFileVerb(CCommandLine& commandLine);
void AddSettingsDiffVerb(CCommandLine& commandLine);
void AddSettingsInfoVerb(CCommandLine& commandLine);
void AddSettingsRestoreVerb(CCommandLine& commandLine);
void AddLoadVerb(CCommandLine& commandLine);
void AddDetectVerb(CCommandLine& commandLine);
void AddTestPrintVerb(CCommandLine& commandLine);
void AddPreviewVerb(CCommandLine& commandLine);
void AddProvisionCheckVerb(CCommandLine& commandLine);
void AddProvisionRunVerb(CCommandLine& commandLine);
void AddProvisionReportVerb(CCommandLine& commandLine);
