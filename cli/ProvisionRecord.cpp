#include "ProvisionRecord.h"

#include <algorithm>
#include <fstream>
#include <mutex>

#include "SyncedAppend.h"

namespace {

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
    nlohmann::ordered_json steps = nlohmann::ordered_json::array();
    for (const ProvisionStep& step : record.steps) {
        steps.push_back({{"step", step.name}, {"result", step.result}, {"seconds", step.seconds}});
    }
    return {{"time", record.time},
            {"station", record.station},
            {"port", record.port},
            {"serial", record.serial},
            {"model", record.model},
            {"firmwareBefore", record.firmwareBefore},
            {"firmwareAfter", record.firmwareAfter},
            {"fontBefore", record.fontBefore},
            {"fontAfter", record.fontAfter},
            {"profileDigest", record.profileDigest},
            {"steps", steps},
            {"result", record.result},
            {"error", record.error},
            {"seconds", record.seconds}};
}

std::optional<ProvisionRecord> RecordFromJson(const nlohmann::json& json) {
    if (!json.is_object() || !json.contains("result") || !json.contains("port")) {
        return std::nullopt;
    }
    ProvisionRecord record;
    const auto text = [&json](const char* name) {
        return json.contains(name) && json[name].is_string() ? json[name].get<std::string>()
                                                             : std::string();
    };
    record.time = text("time");
    record.station = text("station");
    record.port = text("port");
    record.serial = text("serial");
    record.model = text("model");
    record.firmwareBefore = text("firmwareBefore");
    record.firmwareAfter = text("firmwareAfter");
    record.fontBefore = text("fontBefore");
    record.fontAfter = text("fontAfter");
    record.profileDigest = text("profileDigest");
    record.result = text("result");
    record.error = text("error");
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
    return "time,station,port,serial,model,firmwareBefore,firmwareAfter,fontBefore,fontAfter,"
           "profileDigest,steps,result,error,seconds\n";
}

std::string RecordCsvLine(const ProvisionRecord& record) {
    std::string steps;
    for (const ProvisionStep& step : record.steps) {
        steps += (steps.empty() ? "" : " ") + step.name + "=" + step.result;
    }
    std::string line;
    for (const std::string* field : std::initializer_list<const std::string*>{
             &record.time, &record.station, &record.port, &record.serial, &record.model,
             &record.firmwareBefore, &record.firmwareAfter, &record.fontBefore, &record.fontAfter,
             &record.profileDigest, &steps, &record.result, &record.error}) {
        line += CsvField(*field) + ",";
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
