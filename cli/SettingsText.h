#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "PrinterSettings.h"

// The record's fields by name, for people (one "name = value" line each) and for scripts.
std::string SettingsAsText(const PrinterSettings& settings);
nlohmann::ordered_json SettingsAsJson(const PrinterSettings& settings);
// "field=value", the value decimal or 0x-hexadecimal, 0 to 255.
bool ApplyAssignment(const std::string& assignment, PrinterSettings& settings, std::string& error);
// Every field of a saved settings object; unknown fields are an error.
bool ApplyJson(const nlohmann::json& json, PrinterSettings& settings, std::string& error);
