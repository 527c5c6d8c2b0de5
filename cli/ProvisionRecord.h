#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

// One step of one printer's provisioning: its name ("line", "info", "firmware", "font",
// "settings", "verify", "test-print"), "done", "skipped" (nothing to do), "failed" or
// "stopped" (a stop was asked for before it), and how long it took.
struct ProvisionStep {
    std::string name;
    std::string result;
    double seconds = 0;
};

// One attempt at one printer, as the record file keeps it: one JSON object a line.
struct ProvisionRecord {
    std::string time;  // UTC, ISO 8601, when the attempt began
    std::string station;
    std::string port;
    std::string serial;
    std::string model;
    std::string firmwareBefore, firmwareAfter;
    std::string fontBefore, fontAfter;
    std::string profileDigest;
    std::vector<ProvisionStep> steps;
    std::string result;  // "done", "failed", "already done" or "stopped"
    std::string error;   // the failure's words, as the single command prints them
    double seconds = 0;

    // The step that failed, or before which a stop came; empty when none did.
    std::string FailedStep() const;
};

nlohmann::ordered_json RecordJson(const ProvisionRecord& record);
std::optional<ProvisionRecord> RecordFromJson(const nlohmann::json& json);

// The CSV beside the record file: a header, then a line an attempt, steps as name=result.
std::string RecordCsvHeader();
std::string RecordCsvLine(const ProvisionRecord& record);

// Appends the record to the file (and its CSV line to the CSV file when one is named), each
// written and synced to the disk before this returns true. A file not yet there starts with the
// CSV header. False with the reason when either cannot be written whole.
bool AppendRecord(const std::string& path, const std::string& csvPath,
                  const ProvisionRecord& record, std::string& error);

// Every attempt in a record file, in order; lines that hold no attempt (a station's summary)
// are passed over. A file not there holds none. False with the reason when it cannot be read.
bool ReadRecords(const std::string& path, std::vector<ProvisionRecord>& records,
                 std::string& error);

// Whether the printer with this serial number already left with this profile.
bool AlreadyDone(const std::vector<ProvisionRecord>& records, const std::string& serial,
                 const std::string& profileDigest);
