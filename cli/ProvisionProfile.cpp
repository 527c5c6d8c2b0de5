#include "ProvisionProfile.h"

#include <algorithm>
#include <filesystem>
#include <nlohmann/json.hpp>

#include "DataFile.h"
#include "FactorySettings.h"
#include "SettingItems.h"
#include "SettingsFile.h"
#include "SettingsText.h"

namespace {

constexpr std::size_t kProfileLimit = 64 * 1024;

class CProfileReader {
public:
    CProfileReader(std::string path, std::string& errors)
        : m_folder(std::filesystem::path(path).parent_path()), m_errors(errors) {
        m_profile.path = std::move(path);
    }

    std::optional<ProvisionProfile> Read() {
        std::string error;
        const auto text = ReadSmallFile(m_profile.path, kProfileLimit, error);
        if (!text) {
            return Fail(error);
        }
        const auto json = nlohmann::json::parse(*text, nullptr, false);
        if (!json.is_object()) {
            return Fail(m_profile.path + ": not a profile: expected a JSON object");
        }
        ReadFields(json);
        if (!m_errors.empty()) {
            return std::nullopt;
        }
        return m_profile;
    }

private:
    std::optional<ProvisionProfile> Fail(const std::string& error) {
        Note(error);
        return std::nullopt;
    }
    void Note(const std::string& error) { m_errors += error + "\n"; }

    // A text field; empty when absent, noted when of another type.
    std::string Text(const nlohmann::json& json, const char* name) {
        if (!json.contains(name)) {
            return {};
        }
        if (!json[name].is_string() || json[name].get<std::string>().empty()) {
            Note(m_profile.path + ": \"" + name + "\" must be a non-empty string");
            return {};
        }
        return json[name].get<std::string>();
    }

    std::string Resolved(const std::string& file) const {
        const std::filesystem::path path(file);
        return (path.is_absolute() ? path : m_folder / path).lexically_normal().string();
    }

    void ReadFields(const nlohmann::json& json) {
        static const char* const kKnown[] = {"model", "firmware", "firmwareVersion",
                                             "font",  "fontName", "settings",
                                             "line",  "testPrint"};
        for (const auto& [name, value] : json.items()) {
            if (std::find(std::begin(kKnown), std::end(kKnown), name) == std::end(kKnown)) {
                Note(m_profile.path + ": unknown field \"" + name + "\"");
            }
        }
        m_profile.model = Text(json, "model");
        if (m_profile.model.empty() && !json.contains("model")) {
            Note(m_profile.path + ": \"model\" is missing");
        }
        ReadLoadFile(json, "firmware", "firmwareVersion", m_profile.firmwarePath,
                     m_profile.firmwareVersion);
        ReadLoadFile(json, "font", "fontName", m_profile.fontPath, m_profile.fontName);
        ReadSettings(json);
        ReadLine(json);
        if (json.contains("testPrint")) {
            if (!json["testPrint"].is_boolean()) {
                Note(m_profile.path + ": \"testPrint\" must be true or false");
            } else {
                m_profile.testPrint = json["testPrint"].get<bool>();
            }
        }
    }

    // A firmware or font file and what the printer reports once it carries it: both or neither.
    void ReadLoadFile(const nlohmann::json& json, const char* fileField, const char* nameField,
                      std::string& path, std::string& name) {
        const std::string file = Text(json, fileField);
        name = Text(json, nameField);
        if (file.empty() != name.empty()) {
            Note(m_profile.path + ": \"" + fileField + "\" and \"" + nameField + "\" go together");
            return;
        }
        if (file.empty()) {
            return;
        }
        path = Resolved(file);
        const DataFileResult read = ReadDataFile(path);
        const bool program = std::string(fileField) == "firmware";
        if (read.status == DataFileStatus::CannotOpen) {
            Note(path + ": cannot be read (a regular file is expected)");
        } else if (read.status != DataFileStatus::Ok) {
            Note(path + ": not a firmware or font file the printer can load");
        } else if (read.file.IsProgram() != program) {
            Note(path + ": a " + (program ? "font" : "firmware") + " file, named as the " +
                 fileField);
        } else if (program && read.file.model != m_profile.model) {
            Note(path + ": built for the model \"" + read.file.model + "\", not \"" +
                 m_profile.model + "\"");
        }
    }

    void ReadSettings(const nlohmann::json& json) {
        if (!json.contains("settings")) {
            return;
        }
        const nlohmann::json& settings = json["settings"];
        if (settings.is_string()) {
            m_profile.settingsPath = Resolved(settings.get<std::string>());
            std::string error;
            const auto text = ReadSmallFile(m_profile.settingsPath, kProfileLimit, error);
            if (!text ||
                !ApplyJson(*text, m_profile.settingsFile, m_profile.settingsFields, error)) {
                Note(text ? m_profile.settingsPath + ": " + error : error);
            }
            return;
        }
        if (!settings.is_array()) {
            Note(m_profile.path + ": \"settings\" must be a settings file or a list of NAME=VALUE");
            return;
        }
        for (const auto& assignment : settings) {
            std::string error;
            const auto edit = assignment.is_string()
                                  ? ParseEdit(assignment.get<std::string>(), error)
                                  : std::nullopt;
            if (!edit) {
                Note(m_profile.path +
                     ": settings: " + (error.empty() ? "expected NAME=VALUE strings" : error));
                continue;
            }
            m_profile.settingsEdits.push_back(*edit);
        }
    }

    // The line by the RS-232 page's words, as "settings set" takes them.
    void ReadLine(const nlohmann::json& json) {
        if (!json.contains("line")) {
            return;
        }
        const nlohmann::json& line = json["line"];
        if (line == "find") {
            m_profile.findLine = true;
            return;
        }
        if (!line.is_object()) {
            Note(m_profile.path + ": \"line\" must be \"find\" or the port's settings");
            return;
        }
        PrinterSettings record = kFactorySettings;
        for (const auto& [name, value] : line.items()) {
            const SettingItem* item = FindSettingItem(name);
            std::string error;
            const auto edit = item != nullptr && item->page == FindSettingItem("portBaud")->page &&
                                      value.is_string()
                                  ? ParseEdit(name + "=" + value.get<std::string>(), error)
                                  : std::nullopt;
            if (!edit) {
                Note(m_profile.path + ": line: " +
                     (error.empty() ? "\"" + name + "\" is not a port setting" : error));
                continue;
            }
            ApplyEdit(*edit, record);
        }
        m_profile.line = PrinterLineOf(record);
    }

    std::filesystem::path m_folder;
    std::string& m_errors;
    ProvisionProfile m_profile;
};

}  // namespace

std::vector<std::string> ProvisionProfile::Files() const {
    std::vector<std::string> files{path};
    for (const std::string* file : {&firmwarePath, &fontPath, &settingsPath}) {
        if (!file->empty()) {
            files.push_back(*file);
        }
    }
    return files;
}

PrinterSettings ProvisionProfile::Wanted(const PrinterSettings& current,
                                         std::vector<std::size_t>& fields) const {
    auto bytes = current.ToBytes();
    const auto file = settingsFile.ToBytes();
    for (const std::size_t field : settingsFields) {
        bytes[field] = file[field];
    }
    PrinterSettings wanted = PrinterSettings::FromBytes(bytes);
    fields = settingsFields;
    for (const SettingEdit& edit : settingsEdits) {
        ApplyEdit(edit, wanted);
        fields.push_back(edit.field);
    }
    return wanted;
}

std::optional<ProvisionProfile> ReadProvisionProfile(const std::string& path, std::string& errors) {
    return CProfileReader(path, errors).Read();
}
