// tq20: the printer conversations of the configurator and the loader from the command line,
// for scripts and production lines.
#include <CLI/CLI.hpp>
#include <exception>
#include <iostream>

#include "DetectCommand.h"
#include "LineOptions.h"
#include "LoadCommand.h"
#include "LoadProgress.h"
#include "PortRunner.h"
#include "ProgramQueues.h"
#include "SettingEdit.h"
#include "SettingsCommand.h"
#include "Tq20Version.h"

int main(int argc, char** argv) {
    ProgramQueues();
    CLI::App app{
        "tq20: read the settings of a TQ-20 receipt printer and load its firmware "
        "and fonts."};
    app.set_version_flag("--version", std::string("tq20 ") + kTq20Version);
    app.require_subcommand(1);

    ChannelConfig line;
    line.flowControl = 1;
    std::string tcp;
    PortList ports;
    bool asJson = false;
    std::vector<std::string> assignments;
    std::string path;
    std::string which;
    CLI::App* settings = app.add_subcommand("settings", "the printer's settings record");
    settings->require_subcommand(1);
    const std::string settingsFooter =
        std::string(kSettingsExitCodesHelp) + "\n" + kUsageExitCodeHelp;
    settings->footer(settingsFooter);
    const auto withLine = [&](CLI::App* command) {
        command->footer(settingsFooter);
        AddLineOptions(*command, line, tcp, ports, kSettingsSpeeds);
        AddFramingOptions(*command, line);
        return command;
    };
    CLI::App* read = withLine(
        settings->add_subcommand("read", "print every setting: its byte and what it means"));
    read->add_flag("--json", asJson, "print each field's byte and meaning as JSON");
    CLI::App* set = withLine(settings->add_subcommand("set", "change settings, NAME=VALUE"));
    set->add_option("ASSIGNMENTS", assignments,
                    "for example contrast=12 alignment=center bold=on portBaud=9600")
        ->required();
    set->footer(MeaningHelp() + "\n\n" + settingsFooter);
    AddManyPrinterOptions(*set, ports, asJson);
    CLI::App* save = withLine(settings->add_subcommand("save", "write the settings to a file"));
    save->add_option("FILE", path, "a JSON file")->required();
    CLI::App* restoreFile =
        withLine(settings->add_subcommand("restore-file", "write settings saved in a file"));
    restoreFile->add_option("FILE", path, "a file written by save")->required();
    AddManyPrinterOptions(*restoreFile, ports, asJson);
    CLI::App* diff = withLine(
        settings->add_subcommand("diff", "the fields where the printer and a saved file differ"));
    diff->add_option("FILE", path, "a file written by save or read --json")->required();
    diff->footer(std::string(kSettingsDiffExitCodeHelp) + "\n" + settingsFooter);
    CLI::App* info = withLine(settings->add_subcommand("info", "service information and state"));
    CLI::App* restore =
        withLine(settings->add_subcommand("restore", "the factory or the saved settings"));
    restore->add_option("WHICH", which, "factory or saved")
        ->required()
        ->check(CLI::IsMember({"factory", "saved"}));

    CLI::App* load = app.add_subcommand("load", "load a program (*.bin) or font (*.fnt) file");
    load->footer(std::string(kLoadExitCodesHelp) + "\n" + kUsageExitCodeHelp);
    AddLineOptions(*load, line, tcp, ports, kLoadSpeeds);
    load->add_option("FILE", path, "the program or font file")->required();
    AddManyPrinterOptions(*load, ports, asJson);

    CLI::App* detect = AddDetectCommand(app, ports, asJson);
    std::vector<ChannelConfig> lines;

    try {
        app.parse(argc, argv);
        lines = ResolveLines(line, tcp, ports);
        if (lines.size() > 1 &&
            !(load->parsed() || set->parsed() || restoreFile->parsed() || detect->parsed())) {
            throw CLI::ValidationError("--port", "this command serves one printer at a time");
        }
        line = lines.front();
    } catch (const CLI::ParseError& error) {
        // Help asked for is not an error; everything else is a command line that cannot be used.
        return app.exit(error) == 0 ? 0 : kUsageError;
    } catch (const std::exception& error) {
        std::cerr << "tq20: " << error.what() << '\n';
        return kUsageError;
    }
    if (detect->parsed()) {
        return RunOnLines(lines, asJson, RunDetect);
    }
    if (load->parsed()) {
        return RunOnLines(lines, asJson,
                          [&](const ChannelConfig& one, IJobProgress& progress, nlohmann::json&) {
                              return RunLoad(one, path, progress);
                          });
    }
    if (read->parsed()) {
        return RunSettingsRead(line, asJson);
    }
    if (set->parsed()) {
        return RunOnLines(lines, asJson,
                          [&](const ChannelConfig& one, IJobProgress&, nlohmann::json&) {
                              return RunSettingsSet(one, assignments);
                          });
    }
    if (save->parsed()) {
        return RunSettingsSave(line, path);
    }
    if (restoreFile->parsed()) {
        return RunOnLines(lines, asJson,
                          [&](const ChannelConfig& one, IJobProgress&, nlohmann::json&) {
                              return RunSettingsRestoreFile(one, path);
                          });
    }
    if (diff->parsed()) {
        return RunSettingsDiff(line, path);
    }
    if (info->parsed()) {
        return RunSettingsInfo(line);
    }
    return RunSettingsRestore(line, which);
}
