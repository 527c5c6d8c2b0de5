#include "ProvisionRecord.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <mutex>
#include <utility>

#include "SettingsFile.h"

namespace {

using TextField = std::pair<const char*, std::string ProvisionRecord::*>;

// The record's texts by name, in the order the record and its CSV give them: who and what, then
// (after the steps) how it ended.
constexpr std::array<TextField, 10> kTextFields{{
    {"time", &ProvisionRecord::time},
    {"station", &ProvisionRecord::station},
    {"port", &ProvisionRecord::port},
    {"serial", &ProvisionRecord::serial},
    {"model", &ProvisionRecord::model},
    {"firmwareBefore", &ProvisionRecord::firmwareBefore},
    {"firmwareAfter", &ProvisionRecord::firmwareAfter},
    {"fontBefore", &ProvisionRecord::fontBefore},
    {"fontAfter", &ProvisionRecord::fontAfter},
    {"profileDigest", &ProvisionRecord::profileDigest},
}};
constexpr std::array<TextField, 2> kOutcomeFields{{
    {"result", &ProvisionRecord::result},
    {"error", &ProvisionRecord::error},
}};

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\n") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    }
    return quoted + "\"";
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    return text;
}

}  // namespace

std::string ProvisionRecord::FailedStep() const {
    const auto failed = std::find_if(steps.begin(), steps.end(), [](const ProvisionStep& s) {
        return s.result == "failed" || s.result == "stopped";
    });
    return failed == steps.end() ? std::string() : failed->name;
}

nlohmann::ordered_json RecordJson(const ProvisionRecord& record) {
    nlohmann::ordered_json json;
    for (const auto& [name, field] : kTextFields) {
        json[name] = record.*field;
    }
    nlohmann::ordered_json steps = nlohmann::ordered_json::array();
    for (const ProvisionStep& step : record.steps) {
        steps.push_back({{"step", step.name}, {"result", step.result}, {"seconds", step.seconds}});
    }
    json["steps"] = steps;
    for (const auto& [name, field] : kOutcomeFields) {
        json[name] = record.*field;
    }
    json["seconds"] = record.seconds;
    return json;
}

std::optional<ProvisionRecord> RecordFromJson(const nlohmann::json& json) {
    if (!json.is_object() || !json.contains("result") || !json.contains("port")) {
        return std::nullopt;
    }
    ProvisionRecord record;
    const auto read = [&json, &record](const auto& fields) {
        for (const auto& [name, field] : fields) {
            if (json.contains(name) && json[name].is_string()) {
                record.*field = json[name].template get<std::string>();
            }
        }
    };
    read(kTextFields);
    read(kOutcomeFields);
    record.seconds = json.value("seconds", 0.0);
    if (json.contains("steps") && json["steps"].is_array()) {
        for (const auto& step : json["steps"]) {
            if (step.is_object()) {
                record.steps.push_back(
                    {step.value("step", ""), step.value("result", ""), step.value("seconds", 0.0)});
            }
        }
    }
    return record;
}

std::string RecordCsvHeader() {
    std::string header;
    for (const auto& [name, field] : kTextFields) {
        header += std::string(name) + ",";
    }
    header += "steps,";
    for (const auto& [name, field] : kOutcomeFields) {
        header += std::string(name) + ",";
    }
    return header + "seconds\n";
}

std::string RecordCsvLine(const ProvisionRecord& record) {
    std::string line;
    for (const auto& [name, field] : kTextFields) {
        line += CsvField(record.*field) + ",";
    }
    std::string steps;
    for (const ProvisionStep& step : record.steps) {
        steps += (steps.empty() ? "" : " ") + step.name + "=" + step.result;
    }
    line += CsvField(steps) + ",";
    for (const auto& [name, field] : kOutcomeFields) {
        line += CsvField(record.*field) + ",";
    }
    return line + Seconds(record.seconds) + "\n";
}

bool AppendRecord(const std::string& path, const std::string& csvPath,
                  const ProvisionRecord& record, std::string& error) {
    // The printers of a run append from their own threads: one record, and one header, at a
    // time.
    static std::mutex appending;
    const std::lock_guard lock(appending);
    if (!AppendSynced(path, RecordJson(record).dump() + "\n", error)) {
        return false;
    }
    if (csvPath.empty()) {
        return true;
    }
    const std::string header = RegularFileExists(csvPath) ? "" : RecordCsvHeader();
    return AppendSynced(csvPath, header + RecordCsvLine(record), error);
}

bool ReadRecords(const std::string& path, std::vector<ProvisionRecord>& records,
                 std::string& error) {
    std::ifstream file(path);
    if (!file) {
        if (!RegularFileExists(path)) {
            return true;
        }
        error = path + ": cannot be read";
        return false;
    }
    std::string line;
    while (std::getline(file, line)) {
        const auto record = RecordFromJson(nlohmann::json::parse(line, nullptr, false));
        if (record) {
            records.push_back(*record);
        }
    }
    return true;
}

bool AlreadyDone(const std::vector<ProvisionRecord>& records, const std::string& serial,
                 const std::string& profileDigest) {
    return !serial.empty() &&
           std::any_of(records.begin(), records.end(), [&](const ProvisionRecord& r) {
               return r.serial == serial && r.profileDigest == profileDigest && r.result == "done";
           });
}
