#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "PrinterSettings.h"

// The record's fields by name with their bytes: the file "settings save" writes.
nlohmann::ordered_json SettingsAsJson(const PrinterSettings& settings);
// Reads a saved settings object into the record: every value must be an integer the field may
// hold, or an object whose "byte" is one (what "settings read --json" prints); unknown fields
// are an error that names the field. The fields a command writes are listed in written.
bool ApplyJson(const std::string& text, PrinterSettings& settings,
               std::vector<std::size_t>& written, std::string& error);
