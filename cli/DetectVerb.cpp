// tq20 detect
#include "DetectLine.h"
#include "PortRunner.h"
#include "Verbs.h"

namespace {

const char* const kDetectExitCodesHelp =
    "Exit codes: 0 a printer answered (its settings and the options to use are printed), "
    "3 the port does not open, 7 the line to the printer was lost, 9 no printer answered at "
    "any line setting (what was tried is printed).";

}  // namespace

void AddDetectVerb(CCommandLine& commandLine) {
    CLI::App* detect = commandLine.App().add_subcommand(
        "detect", "find the speed, framing and flow control of the printer on a serial port");
    detect->footer(std::string(kDetectExitCodesHelp) + "\n" + kUsageExitCodeHelp);
    detect->add_option("--port", commandLine.Ports().names, "serial device of the printer")
        ->allow_extra_args(false);
    AddManyPrinterOptions(*detect, commandLine.Ports(), commandLine.AsJson());
    commandLine.Register(
        detect, CCommandLine::Printers::Many, [](const CCommandLine::Lines& lines, bool asJson) {
            return RunOnLines(
                lines, asJson,
                [](const ChannelConfig& one, IJobProgress& progress, nlohmann::json& details) {
                    ChannelConfig found;
                    return DetectLine(one, progress, details, found);
                });
        });
}
