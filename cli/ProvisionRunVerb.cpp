// tq20 provision run PROFILE
#include <chrono>
#include <memory>

#include "Console.h"
#include "ExitCodes.h"
#include "PortRunner.h"
#include "ProfileDigest.h"
#include "ProvisionRun.h"
#include "ProvisionStation.h"
#include "StationName.h"
#include "TestPrintComposer.h"
#include "TestPrintSample.h"
#include "Verbs.h"

namespace {

struct RunChoices {
    std::string profilePath;
    std::string recordPath = "provision-records.jsonl";
    bool csv = false;
    bool force = false;
    bool station = false;
};

// The CSV beside the record file: the same name ending in .csv.
std::string CsvPathOf(const std::string& recordPath) {
    const auto dot = recordPath.find_last_of('.');
    const auto slash = recordPath.find_last_of("/\\");
    const bool extension = dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (extension ? recordPath.substr(0, dot) : recordPath) + ".csv";
}

// Everything is checked, and the earlier records read, before any printer is touched.
std::optional<ProvisionPlan> Plan(const RunChoices& choices) {
    std::string errors;
    auto profile = ReadProvisionProfile(choices.profilePath, errors);
    std::string error;
    const auto digest = profile ? DigestOfFiles(profile->Files(), error) : std::nullopt;
    if (!digest) {
        Err() << errors << error << (error.empty() ? "" : "\n");
        return std::nullopt;
    }
    ProvisionPlan plan;
    plan.profile = std::move(*profile);
    plan.digest = *digest;
    plan.recordPath = choices.recordPath;
    plan.csvPath = choices.csv ? CsvPathOf(choices.recordPath) : "";
    plan.force = choices.force;
    plan.station = StationName();
    if (!ReadRecords(plan.recordPath, plan.earlier, error)) {
        Err() << error << '\n';
        return std::nullopt;
    }
    if (plan.profile.testPrint && !ReadTestPrintSample("", plan.testPrintSample)) {
        return std::nullopt;
    }
    plan.testPrintDate = TestPrintDate(std::chrono::system_clock::now());
    return plan;
}

}  // namespace

void AddProvisionRunVerb(CCommandLine& commandLine) {
    auto choices = std::make_shared<RunChoices>();
    CLI::App* run = commandLine.AddProvisionVerb(
        "run", "provision the printer on every port named and append a record of each");
    run->add_option("PROFILE", choices->profilePath, "the provisioning profile (JSON)")->required();
    auto* port = run->add_option("--port", commandLine.Ports().names, "serial device of a printer")
                     ->allow_extra_args(false);
    run->add_option("--tcp", commandLine.Tcp(), "HOST:PORT of a printer on the network")
        ->excludes(port);
    run->add_option("--record", choices->recordPath,
                    "the record file, one JSON object a line (appended)")
        ->capture_default_str();
    run->add_flag("--csv", choices->csv, "also append each record to a CSV file beside it");
    run->add_flag("--force", choices->force,
                  "load and write even where the printer already carries the profile");
    run->add_flag("--station", choices->station,
                  "keep running: provision each printer plugged in on the ports, until Ctrl+C");
    AddManyPrinterOptions(*run, commandLine.Ports(), commandLine.AsJson());
    run->footer(
        "Exit codes: 0 every printer done or already done; 40 the profile cannot be "
        "used; 41 a record could not be written (the printer is not done); 42 after a "
        "load the printer reports another version or font; 43 the settings read back "
        "differ; a failed step otherwise ends with that command's own code (tq20 "
        "settings, load and detect --help list them).\n" +
        std::string(kUsageExitCodeHelp) + "\n" + kManyPrintersHelp);
    commandLine.Register(
        run, CCommandLine::Printers::Many,
        [choices](const CCommandLine::Lines& lines, bool asJson) {
            const auto plan = Plan(*choices);
            if (!plan) {
                return static_cast<int>(kProvisionBadProfile);
            }
            if (choices->station) {
                return RunStation(lines, *plan);
            }
            return RunOnLines(
                lines, asJson,
                [&plan](const ChannelConfig& one, IJobProgress& progress, nlohmann::json&) {
                    ProvisionRecord outcome;
                    return ProvisionPrinter(one, *plan, progress, outcome);
                });
        });
}
