#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "PrinterSettings.h"
#include "SettingItems.h"

// One change that "settings set" makes: a field's byte, or a setting by meaning that the
// page's store rule turns into its byte once the record has been read.
struct SettingEdit {
    std::size_t field;
    const SettingItem* item;  // null: value is the byte itself
    int value;                // the byte, the choice's index or the number
};

// "name=value". A number after a field's name is its byte, checked as before; a word, or a
// number after a setting's own name, is a meaning as "settings read" shows it. Refuses with
// one sentence that lists what the name takes.
std::optional<SettingEdit> ParseEdit(std::string_view assignment, std::string& error);
void ApplyEdit(const SettingEdit& edit, PrinterSettings& record);

// The settings by meaning and their values, for --help.
std::string MeaningHelp();
