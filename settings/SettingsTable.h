#pragma once

#include <nlohmann/json.hpp>
#include <string>

#include "PrinterSettings.h"
#include "SettingItems.h"

// "settings read" for people: page by page as the window's tree lists them, each field's
// "name = byte", then its meaning in the command line's words and in the window's.
std::string SettingsTable(const PrinterSettings& settings);

// "settings read --json": every field by name in record order, as
// {"byte": 80, "meaning": {"fontHeight": "normal", "bold": "off", ...}}; each entry of a
// meaning is an assignment "settings set" takes. Words are strings, numbers are numbers.
nlohmann::ordered_json SettingsMeaningJson(const PrinterSettings& settings);
// The same with one field to a line.
std::string SettingsMeaningJsonText(const PrinterSettings& settings);

// The value column of one setting: "center", "48 mm", "portBaud=9600 bit/s".
std::string MeaningText(const SettingItem& item, const PrinterSettings& settings);
