#include "SettingsCommand.h"

#include <chrono>
#include <iostream>
#include <thread>

#include "CPrinterSession.h"
#include "CommandTable.h"
#include "InfoText.h"
#include "SettingValues.h"
#include "SettingsFile.h"
#include "SettingsText.h"
#include "SettingsWriter.h"

const char* const kSettingsExitCodesHelp =
    "Exit codes: 0 done, 3 the port does not open, 4 the printer did not answer in time, "
    "5 the printer's answer has the wrong length, 6 a wrong field, value or file, 7 the line to "
    "the printer was lost, 8 the printer did not take a value (read back after writing).";

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

// A saved settings file is a few hundred bytes; anything much larger is not one.
constexpr std::size_t kSettingsFileLimit = 64 * 1024;

// Reads the record afresh and writes the named fields of wanted where they differ.
int WriteNamedFields(const ChannelConfig& line, const PrinterSettings& wanted,
                     const std::vector<std::size_t>& fields) {
    CPrinterSession session(line);
    const auto current = OpenAndRead(session);
    if (!current) {
        return session.ExitCode();
    }
    if (!WriteFields(session, *current, wanted, fields)) {
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

// Every value is checked before the port opens; the fields not named are written as read.
int RunSettingsSet(const ChannelConfig& line, const std::vector<std::string>& assignments) {
    auto bytes = PrinterSettings{}.ToBytes();
    std::vector<std::size_t> fields;
    for (const std::string& assignment : assignments) {
        std::string error;
        const auto setting = ParseAssignment(assignment, error);
        if (!setting) {
            return BadInput(error);
        }
        bytes[setting->index] = setting->value;
        fields.push_back(setting->index);
    }
    return WriteNamedFields(line, PrinterSettings::FromBytes(bytes), fields);
}

int RunSettingsSave(const ChannelConfig& line, const std::string& path) {
    CPrinterSession session(line);
    const auto settings = OpenAndRead(session);
    if (!settings) {
        return session.ExitCode();
    }
    std::string error;
    if (!WriteFileSafely(path, SettingsAsJson(*settings).dump(2) + "\n", error)) {
        return BadInput(error);
    }
    return kSettingsDone;
}

int RunSettingsRestoreFile(const ChannelConfig& line, const std::string& path) {
    std::string error;
    const auto text = ReadSmallFile(path, kSettingsFileLimit, error);
    PrinterSettings wanted{};
    std::vector<std::size_t> fields;
    if (!text || !ApplyJson(*text, wanted, fields, error)) {
        return BadInput(text ? path + ": " + error : error);
    }
    return WriteNamedFields(line, wanted, fields);
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
