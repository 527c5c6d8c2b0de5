#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "PrinterSettings.h"

// The record's fields by name, for people (one "name = value" line each) and for scripts.
std::string SettingsAsText(const PrinterSettings& settings);
nlohmann::ordered_json SettingsAsJson(const PrinterSettings& settings);
