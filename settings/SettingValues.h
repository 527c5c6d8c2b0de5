#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "PrinterSettings.h"

// One field of the record with a value it may hold.
struct SettingValue {
    std::size_t index;
    std::uint8_t value;
};

// The record's field names, in record order.
const char* SettingName(std::size_t index);
std::optional<std::size_t> SettingIndex(std::string_view name);

// "field=value", the value decimal (leading zeros are still decimal) or hexadecimal after 0x.
// Refuses, with a sentence naming the field and what it may hold, an unknown name, a malformed
// number, a value outside the field's range or meaning, and the field no command writes.
std::optional<SettingValue> ParseAssignment(std::string_view assignment, std::string& error);
// A value read from a saved file. The unwritable field is accepted with any byte value.
std::optional<SettingValue> CheckSetting(std::string_view name, long long value,
                                         std::string& error);
// Whether the printer has a command that writes the field.
bool IsWritableSetting(std::size_t index);
// What a field may hold, for people: "0 to 255 except 17 and 19".
const char* SettingAllowed(std::size_t index);
// The least and the greatest value a field may hold, before its exclusions and lists.
struct SettingRange {
    int low;
    int high;
};
SettingRange SettingRangeOf(std::size_t index);
// Decimal digits, or 0x and hexadecimal digits; nothing else, no sign, no octal.
std::optional<long long> ParseSettingNumber(std::string_view text);
