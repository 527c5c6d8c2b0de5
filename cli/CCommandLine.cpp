#include "CCommandLine.h"

#include <exception>
#include <iostream>

#include "Tq20Version.h"

namespace {

const char* const kSettingsExitCodesHelp =
    "Exit codes: 0 done, 3 the port does not open, 4 the printer did not answer in time, "
    "5 the printer's answer has the wrong length, 6 a wrong field, value or file, 7 the line to "
    "the printer was lost, 8 the printer did not take a value (read back after writing).";

}  // namespace

CCommandLine::CCommandLine()
    : m_app(
          "tq20: read the settings of a TQ-20 receipt printer and load its firmware and "
          "fonts."),
      m_settingsFooter(std::string(kSettingsExitCodesHelp) + "\n" + kUsageExitCodeHelp) {
    m_app.set_version_flag("--version", std::string("tq20 ") + kTq20Version);
    m_app.require_subcommand(1);
    m_line.flowControl = FlowControl::RtsCts;
    m_settings = m_app.add_subcommand("settings", "the printer's settings record");
    m_settings->require_subcommand(1);
    m_settings->footer(m_settingsFooter);
    m_provision = m_app.add_subcommand(
        "provision", "bring every printer to a production profile and keep a record of it");
    m_provision->require_subcommand(1);
}

CLI::App* CCommandLine::AddSettingsVerb(const std::string& name, const std::string& description) {
    CLI::App* verb = m_settings->add_subcommand(name, description);
    verb->footer(m_settingsFooter);
    AddLineOptions(*verb, m_line, m_tcp, m_ports, kSettingsSpeeds);
    AddFramingOptions(*verb, m_line);
    return verb;
}

CLI::App* CCommandLine::AddProvisionVerb(const std::string& name, const std::string& description) {
    return m_provision->add_subcommand(name, description);
}

void CCommandLine::Register(CLI::App* verb, Printers printers, Run run) {
    m_verbs.push_back({verb, printers, std::move(run)});
}

int CCommandLine::Execute(int argc, char** argv) {
    Lines lines;
    const Verb* chosen = nullptr;
    try {
        m_app.parse(argc, argv);
        // Every leaf command is a registered verb, and CLI11 insists on one.
        for (const Verb& verb : m_verbs) {
            if (verb.command->parsed()) {
                chosen = &verb;
            }
        }
        if (chosen->printers != Printers::None) {
            lines = ResolveLines(m_line, m_tcp, m_ports);
        }
        if (lines.size() > 1 && chosen->printers == Printers::One) {
            throw CLI::ValidationError("--port", "this command serves one printer at a time");
        }
    } catch (const CLI::ParseError& error) {
        // Help asked for is not an error; everything else is a command line that cannot be used.
        return m_app.exit(error) == 0 ? 0 : kUsageError;
    } catch (const std::exception& error) {
        std::cerr << "tq20: " << error.what() << '\n';
        return kUsageError;
    }
    return chosen->run(lines, m_asJson);
}
