// tq20 provision report RECORD-FILE
#include <memory>

#include "Console.h"
#include "ExitCodes.h"
#include "ProvisionReport.h"
#include "SettingsFile.h"
#include "Verbs.h"

namespace {

struct ReportChoices {
    std::string recordPath;
    std::string csvPath;
};

int RunProvisionReport(const ReportChoices& choices) {
    std::vector<ProvisionRecord> records;
    std::string error;
    if (!RegularFileExists(choices.recordPath) ||
        !ReadRecords(choices.recordPath, records, error)) {
        Err() << (error.empty() ? choices.recordPath + ": no such record file" : error) << '\n';
        return kProvisionBadProfile;
    }
    const ProvisionTotals totals = TotalsOf(records);
    Out() << TotalsText(totals);
    if (!choices.csvPath.empty() && !WriteFileSafely(choices.csvPath, TotalsCsv(totals), error)) {
        Err() << error << '\n';
        return kProvisionRecordNotWritten;
    }
    return kProvisionDone;
}

}  // namespace

void AddProvisionReportVerb(CCommandLine& commandLine) {
    auto choices = std::make_shared<ReportChoices>();
    CLI::App* report = commandLine.AddProvisionVerb(
        "report", "add up a record file: results, firmware versions, times, failed steps");
    report->add_option("RECORD-FILE", choices->recordPath, "a record file of provision run")
        ->required();
    report->add_option("--csv", choices->csvPath, "also write the totals to this CSV file");
    report->footer(
        "Exit codes: 0 reported; 40 the record file cannot be read; 41 the CSV "
        "cannot be written.\n" +
        std::string(kUsageExitCodeHelp));
    commandLine.Register(
        report, CCommandLine::Printers::None,
        [choices](const CCommandLine::Lines&, bool) { return RunProvisionReport(*choices); });
}
