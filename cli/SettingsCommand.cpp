#include "SettingsCommand.h"

#include <chrono>
#include <fstream>
#include <iostream>
#include <thread>

#include "CPrinterSession.h"
#include "CommandTable.h"
#include "InfoText.h"
#include "SettingsText.h"
#include "SettingsWriter.h"

const char* const kSettingsExitCodesHelp =
    "Exit codes: 0 done, 3 the port does not open, 4 the printer did not answer in time, "
    "5 the printer's answer has the wrong length, 6 a wrong field, value or file.";

namespace {

using namespace std::chrono_literals;

// Opens the line and reads the record; empty when either failed (the session says why).
std::optional<PrinterSettings> OpenAndRead(CPrinterSession& session) {
    if (!session.Open()) {
        return std::nullopt;
    }
    return session.ReadSettings();
}

int BadInput(const std::string& text) {
    std::cerr << text << '\n';
    return kSettingsBadInput;
}

// Reads the record, lets the caller change it, and writes what differs.
template <typename Change>
int ChangeSettings(const ChannelConfig& line, Change change) {
    CPrinterSession session(line);
    const auto current = OpenAndRead(session);
    if (!current) {
        return session.ExitCode();
    }
    PrinterSettings wanted = *current;
    std::string error;
    if (!change(wanted, error)) {
        return BadInput(error);
    }
    if (!WriteSettings(session, *current, wanted)) {
        return session.ExitCode();
    }
    return kSettingsDone;
}

int PrintAfterRestore(CPrinterSession& session) {
    const auto settings = session.ReadSettings();
    if (!settings) {
        return session.ExitCode();
    }
    std::cout << SettingsAsText(*settings);
    return kSettingsDone;
}

}  // namespace

int RunSettingsRead(const ChannelConfig& line, bool asJson) {
    CPrinterSession session(line);
    const auto settings = OpenAndRead(session);
    if (!settings) {
        return session.ExitCode();
    }
    std::cout << (asJson ? SettingsAsJson(*settings).dump(2) + "\n" : SettingsAsText(*settings));
    return kSettingsDone;
}

int RunSettingsSet(const ChannelConfig& line, const std::vector<std::string>& assignments) {
    return ChangeSettings(line, [&](PrinterSettings& wanted, std::string& error) {
        for (const std::string& assignment : assignments) {
            if (!ApplyAssignment(assignment, wanted, error)) {
                return false;
            }
        }
        return true;
    });
}

int RunSettingsSave(const ChannelConfig& line, const std::string& path) {
    CPrinterSession session(line);
    const auto settings = OpenAndRead(session);
    if (!settings) {
        return session.ExitCode();
    }
    std::ofstream out(path);
    out << SettingsAsJson(*settings).dump(2) << '\n';
    return out ? kSettingsDone : BadInput("Cannot write " + path);
}

int RunSettingsRestoreFile(const ChannelConfig& line, const std::string& path) {
    std::ifstream in(path);
    const auto json = nlohmann::json::parse(in, nullptr, false);
    if (!in || json.is_discarded() || !json.is_object()) {
        return BadInput("Cannot read settings from " + path);
    }
    return ChangeSettings(line, [&](PrinterSettings& wanted, std::string& error) {
        return ApplyJson(json, wanted, error);
    });
}

int RunSettingsInfo(const ChannelConfig& line) {
    CPrinterSession session(line);
    if (!session.Open()) {
        return session.ExitCode();
    }
    std::string text;
    for (int item = 1; item <= 9; ++item) {
        const auto reply = session.Ask(CMD_GET_PRINTER_INFO, static_cast<std::uint8_t>(item),
                                       InfoTerminator(item), 0);
        if (!reply) {
            return session.ExitCode();
        }
        text += item < 9 ? InfoItemLine(item, *reply) : InfoFontLine(*reply);
    }
    const auto state = session.Ask(CMD_GET_STATUS, 0, std::nullopt, 1);
    if (!state || state->empty()) {
        return session.ExitCode();
    }
    std::cout << text << InfoStateBlock((*state)[0]) << '\n';
    return kSettingsDone;
}

// The factory settings bring the printer to 115200 bit/s, 8N1, RTS/CTS.
int RunSettingsRestore(const ChannelConfig& line, const std::string& which) {
    CPrinterSession session(line);
    if (!session.Open()) {
        return session.ExitCode();
    }
    if (which == "saved") {
        session.Send(CMD_RESTORE_SAVED);
        std::this_thread::sleep_for(500ms);
        return PrintAfterRestore(session);
    }
    session.Send(CMD_RESTORE_FACTORY);
    std::this_thread::sleep_for(400ms);
    session.Close();
    std::this_thread::sleep_for(400ms);
    ChannelConfig factory = line;
    factory.baudRate = 115200;
    factory.parity = 0;
    factory.stopBits = 0;
    factory.flowControl = 1;
    if (!session.Reopen(factory)) {
        return session.ExitCode();
    }
    std::this_thread::sleep_for(100ms);
    return PrintAfterRestore(session);
}
