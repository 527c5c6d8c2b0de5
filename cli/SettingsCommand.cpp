#include "SettingsCommand.h"

#include <chrono>
#include <thread>
#include "Console.h"

#include "CPrinterSession.h"
#include "CommandTable.h"
#include "ConversationTimings.h"
#include "FactoryLine.h"
#include "InfoText.h"
#include "SettingEdit.h"
#include "SettingsDiff.h"
#include "SettingsFile.h"
#include "SettingsTable.h"
#include "SettingsText.h"
#include "SettingsWriter.h"

const char* const kSettingsExitCodesHelp =
    "Exit codes: 0 done, 3 the port does not open, 4 the printer did not answer in time, "
    "5 the printer's answer has the wrong length, 6 a wrong field, value or file, 7 the line to "
    "the printer was lost, 8 the printer did not take a value (read back after writing).";

const char* const kSettingsDiffExitCodeHelp =
    "diff ends with 0 when the printer holds the file's settings and 1 when they differ; the "
    "field no command writes (reserved14) is not compared.";

namespace {

// Opens the line and reads the record; empty when either failed (the session says why).
std::optional<PrinterSettings> OpenAndRead(CPrinterSession& session) {
    if (!session.Open()) {
        return std::nullopt;
    }
    return session.ReadSettings();
}

int BadInput(const std::string& text) {
    Err() << text << '\n';
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
    Out() << SettingsTable(*settings);
    return kSettingsDone;
}

// A file of settings by name, checked whole before the port opens.
bool ReadSettingsFile(const std::string& path, PrinterSettings& wanted,
                      std::vector<std::size_t>& fields) {
    std::string error;
    const auto text = ReadSmallFile(path, kSettingsFileLimit, error);
    if (!text || !ApplyJson(*text, wanted, fields, error)) {
        Err() << (text ? path + ": " + error : error) << '\n';
        return false;
    }
    return true;
}

}  // namespace

int RunSettingsRead(const ChannelConfig& line, bool asJson) {
    CPrinterSession session(line);
    const auto settings = OpenAndRead(session);
    if (!settings) {
        return session.ExitCode();
    }
    Out() << (asJson ? SettingsMeaningJsonText(*settings) : SettingsTable(*settings));
    return kSettingsDone;
}

// Every value is checked before the port opens. Meanings go through the pages' store rules
// onto the record as read, so a style flag keeps the rest of its byte; the fields not named are
// written as read.
int RunSettingsSet(const ChannelConfig& line, const std::vector<std::string>& assignments) {
    std::vector<SettingEdit> edits;
    for (const std::string& assignment : assignments) {
        std::string error;
        const auto edit = ParseEdit(assignment, error);
        if (!edit) {
            return BadInput(error);
        }
        edits.push_back(*edit);
    }
    CPrinterSession session(line);
    const auto current = OpenAndRead(session);
    if (!current) {
        return session.ExitCode();
    }
    PrinterSettings wanted = *current;
    std::vector<std::size_t> fields;
    for (const SettingEdit& edit : edits) {
        ApplyEdit(edit, wanted);
        fields.push_back(edit.field);
    }
    return WriteFields(session, *current, wanted, fields) ? kSettingsDone : session.ExitCode();
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
    PrinterSettings wanted{};
    std::vector<std::size_t> fields;
    if (!ReadSettingsFile(path, wanted, fields)) {
        return kSettingsBadInput;
    }
    return WriteNamedFields(line, wanted, fields);
}

// Compares what a restore of the file would write; the field no command writes is left out.
int RunSettingsDiff(const ChannelConfig& line, const std::string& path) {
    PrinterSettings file{};
    std::vector<std::size_t> fields;
    if (!ReadSettingsFile(path, file, fields)) {
        return kSettingsBadInput;
    }
    CPrinterSession session(line);
    const auto printer = OpenAndRead(session);
    if (!printer) {
        return session.ExitCode();
    }
    const std::string differences = SettingsDifferences(*printer, file, fields);
    Out() << differences;
    return differences.empty() ? kSettingsDone : kSettingsDiffer;
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
    Out() << text << InfoStateBlock((*state)[0]) << '\n';
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
        std::this_thread::sleep_for(kSavedRestoreDelay);
        return PrintAfterRestore(session);
    }
    session.Send(CMD_RESTORE_FACTORY);
    std::this_thread::sleep_for(kFactoryResetDelay);
    session.Close();
    std::this_thread::sleep_for(kFactoryResetDelay);
    if (!session.Reopen(FactoryLine(line))) {
        return session.ExitCode();
    }
    std::this_thread::sleep_for(kFirstReadDelay);
    return PrintAfterRestore(session);
}
