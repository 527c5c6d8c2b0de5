// tq20: the printer conversations of the configurator and the loader from the command line,
// for scripts and production lines.
#include "ProgramQueues.h"
#include "Verbs.h"

int main(int argc, char** argv) {
    ProgramQueues();
    CCommandLine commandLine;
    for (const auto addVerb :
         {AddSettingsReadVerb, AddSettingsSetVerb, AddSettingsSaveVerb, AddSettingsRestoreFileVerb,
          AddSettingsDiffVerb, AddSettingsInfoVerb, AddSettingsRestoreVerb, AddLoadVerb,
          AddDetectVerb, AddTestPrintVerb, AddPreviewVerb, AddProvisionCheckVerb,
          AddProvisionRunVerb, AddProvisionReportVerb}) {
        addVerb(commandLine);
    }
    return commandLine.Execute(argc, argv);
}
