#pragma once

#include <optional>
#include <string>
#include <vector>

#include "FactoryLine.h"
#include "PrinterLine.h"
#include "PrinterSettings.h"
#include "SettingEdit.h"

// A production line's provisioning profile: one JSON object naming the printer model, the
// firmware and the font every unit must carry, the house settings, the line to reach the
// printers on and whether to test-print. Paths are taken from the profile's own folder.
//   {"model": "TQ-20 A0",
//    "firmware": "tq20-1.08.bin", "firmwareVersion": "1.08",
//    "font": "cyrillic.fnt", "fontName": "Cyrillic 12x24",
//    "settings": "house.json"  or  ["contrast=12", "alignment=center"],
//    "line": "find"  or  {"portBaud": "9600", "portFraming": "8N1", "portFlowControl": "rtscts"},
//    "testPrint": true}
// Only "model" is required: without firmware, font or settings those steps are left out;
// without a line, the factory line.
struct ProvisionProfile {
    std::string path;
    std::string model;
    std::string firmwarePath;
    std::string firmwareVersion;
    std::string fontPath;
    std::string fontName;
    // A settings file (its record and the fields it names) or assignments by meaning.
    std::string settingsPath;
    PrinterSettings settingsFile{};
    std::vector<std::size_t> settingsFields;
    std::vector<SettingEdit> settingsEdits;
    bool findLine = false;
    LineChoice line = kFactoryLine;
    bool testPrint = false;

    bool HasSettings() const { return !settingsFields.empty() || !settingsEdits.empty(); }
    // The files the profile names, the profile first: what its digest covers.
    std::vector<std::string> Files() const;
    // The record to write over what the printer holds, and the fields to check afterwards.
    PrinterSettings Wanted(const PrinterSettings& current, std::vector<std::size_t>& fields) const;
};

// Reads and checks the profile whole, before any printer is touched: the JSON, every file it
// names (regular, readable, a firmware or font file that parses, a firmware built for the
// profile's model), the settings' values. Empty with the reasons, one a line, otherwise.
std::optional<ProvisionProfile> ReadProvisionProfile(const std::string& path, std::string& errors);
