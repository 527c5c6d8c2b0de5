// tq20 load FILE
#include <memory>

#include "LoadRun.h"
#include "PortRunner.h"
#include "Verbs.h"

namespace {

const char* const kLoadExitCodesHelp =
    "Exit codes: 0 loaded; 10 the file cannot be opened; 11 the file holds wrong data; 12 the "
    "port does not open; 20 the printer did not answer in time; 21 the controller is not "
    "supported; 22 the file is for another controller model; 23 error in a received packet; "
    "24 error in a received command; 25 error in a received address; 26 error in a received "
    "size; 27 data integrity error; 28 no data to load; 29 integrity error in a received "
    "packet; 30 error in received data; 31 the line to the printer was lost; 32 the font does not "
    "fit the printer's memory.";

}  // namespace

void AddLoadVerb(CCommandLine& commandLine) {
    auto path = std::make_shared<std::string>();
    CLI::App* load =
        commandLine.App().add_subcommand("load", "load a program (*.bin) or font (*.fnt) file");
    load->footer(std::string(kLoadExitCodesHelp) + "\n" + kUsageExitCodeHelp);
    AddLineOptions(*load, commandLine.Line(), commandLine.Tcp(), commandLine.Ports(), kLoadSpeeds);
    load->add_option("FILE", *path, "the program or font file")->required();
    AddManyPrinterOptions(*load, commandLine.Ports(), commandLine.AsJson());
    commandLine.Register(
        load, CCommandLine::Printers::Many, [path](const CCommandLine::Lines& lines, bool asJson) {
            return RunOnLines(lines, asJson,
                              [&](const ChannelConfig& one, IJobProgress& progress,
                                  nlohmann::json&) { return LoadDataFile(one, *path, progress); });
        });
}
