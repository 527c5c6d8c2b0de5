#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <string>
#include <vector>

#include "ChannelConfig.h"
#include "LineOptions.h"

// tq20's command line: what every verb shares (the printer's line, the ports, --json) and the
// verbs, each added by its own file with what it runs once the command line has been read.
class CCommandLine {
public:
    using Lines = std::vector<ChannelConfig>;
    using Run = std::function<int(const Lines& lines, bool asJson)>;
    // Whether a verb may serve several printers at once (--port more than once), or works
    // without a printer.
    enum class Printers { None, One, Many };

    CCommandLine();
    CCommandLine(const CCommandLine&) = delete;
    CCommandLine& operator=(const CCommandLine&) = delete;

    CLI::App& App() { return m_app; }
    // "tq20 settings NAME": with the line and framing options and the settings' exit codes.
    CLI::App* AddSettingsVerb(const std::string& name, const std::string& description);
    // "tq20 provision NAME".
    CLI::App* AddProvisionVerb(const std::string& name, const std::string& description);
    const std::string& SettingsFooter() const { return m_settingsFooter; }
    ChannelConfig& Line() { return m_line; }
    std::string& Tcp() { return m_tcp; }
    PortList& Ports() { return m_ports; }
    bool& AsJson() { return m_asJson; }
    void Register(CLI::App* verb, Printers printers, Run run);

    // Reads the command line and runs the verb it names: that verb's exit code, 0 for help
    // asked for, kUsageError for a command line that cannot be used.
    int Execute(int argc, char** argv);

private:
    struct Verb {
        CLI::App* command;
        Printers printers;
        Run run;
    };

    CLI::App m_app;
    CLI::App* m_settings;
    CLI::App* m_provision;
    std::string m_settingsFooter;
    ChannelConfig m_line;
    std::string m_tcp;
    PortList m_ports;
    bool m_asJson = false;
    std::vector<Verb> m_verbs;
};
