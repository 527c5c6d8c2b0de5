#include "SettingValues.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <vector>

namespace {

// What a field may hold: a range less some values, a list, or a set of bits.
struct FieldRule {
    const char* name;
    int low;
    int high;
    std::vector<int> only;      // when not empty, exactly these values
    std::vector<int> excluded;  // never these (the line's flow-control characters)
    int bits;                   // when not 0, the value must lie within these bits
    const char* allowed;        // the same, for people
};

const std::array<FieldRule, PrinterSettings::kSize> kRules{{
    {"contrast", 0, 255, {}, {17, 19}, 0, "0 to 255 except 17 and 19"},
    {"dotsCount", 0, 255, {32, 64, 96, 128}, {}, 0, "32, 64, 96 or 128"},
    {"printSpeed", 0, 255, {}, {17, 19}, 0, "0 to 255 except 17 and 19"},
    {"fontMode",
     0,
     255,
     {},
     {},
     0xFD,
     "0x01 bold + 0x04 underlined + 0x08 negative + "
     "width 0x00-0x30 + height 0x00-0xC0 (bit 0x02 unused)"},
    {"tabulation", 0, 255, {}, {}, 0, "0 to 255"},
    {"leftIndent", 0, 255, {}, {}, 0, "0 to 255"},
    {"alignment", 1, 3, {}, {}, 0, "1 left, 2 right or 3 centre"},
    {"barcodeHri", 0, 255, {0, 4}, {}, 0, "0 off or 4 on"},
    {"barcodeHeight", 0, 255, {}, {}, 0, "0 to 255"},
    {"barcodeWidth", 0, 255, {}, {}, 0, "0 to 255"},
    {"barcodeQuietZone", 0, 255, {}, {}, 0, "0 to 255"},
    {"barcodeLeftIndent", 0, 255, {}, {}, 0, "0 to 255"},
    {"printFieldWidth", 0, 255, {}, {}, 0, "0 to 255"},
    {"feedButtonDisabled", 0, 1, {}, {}, 0, "0 or 1"},
    {"reserved14", 0, 255, {}, {}, 0, "nothing: no command writes it"},
    {"statusAutoReturn", 0, 1, {}, {}, 0, "0 or 1"},
    {"portBaudIndex",
     0,
     9,
     {},
     {},
     0,
     "0 to 9 (115200, 57600, 38400, 28800, 19200, 14400, 9600, 4800, 2400, 1200 bit/s)"},
    {"portFraming",
     0,
     5,
     {},
     {},
     0,
     "0 to 5 (1 none, 2 none, 1 odd, 2 odd, 1 even, 2 even: stop bits, parity)"},
    {"portFlowControl",
     0,
     255,
     {0x00, 0x10, 0x20, 0x30},
     {},
     0,
     "0x00 none, 0x10 RTS/CTS, 0x20 Xon/Xoff or 0x30 both"},
}};

constexpr std::size_t kUnwritable = 14;

bool Contains(const std::vector<int>& values, long long value) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool Fits(const FieldRule& rule, long long value) {
    if (value < rule.low || value > rule.high || Contains(rule.excluded, value)) {
        return false;
    }
    if (!rule.only.empty() && !Contains(rule.only, value)) {
        return false;
    }
    return rule.bits == 0 || (value & ~rule.bits) == 0;
}

std::string AllNames() {
    std::string names;
    for (const FieldRule& rule : kRules) {
        names += (names.empty() ? "" : ", ") + std::string(rule.name);
    }
    return names;
}

std::optional<std::size_t> KnownField(std::string_view name, std::string& error) {
    const auto index = SettingIndex(name);
    if (!index) {
        error = "No such setting: " + std::string(name) + ". The settings are " + AllNames() + ".";
    }
    return index;
}

}  // namespace

const char* SettingName(std::size_t index) {
    return index < kRules.size() ? kRules[index].name : "";
}

std::optional<std::size_t> SettingIndex(std::string_view name) {
    for (std::size_t i = 0; i < kRules.size(); ++i) {
        if (name == kRules[i].name) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<long long> ParseSettingNumber(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 16) {
        return std::nullopt;
    }
    long long value = 0;
    const auto [end, failure] =
        std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (failure != std::errc() || end != text.data() + text.size() || text[0] == '-' ||
        text[0] == '+') {
        return std::nullopt;
    }
    return value;
}

const char* SettingAllowed(std::size_t index) {
    return index < kRules.size() ? kRules[index].allowed : "";
}

SettingRange SettingRangeOf(std::size_t index) {
    return index < kRules.size() ? SettingRange{kRules[index].low, kRules[index].high}
                                 : SettingRange{0, 255};
}

bool IsWritableSetting(std::size_t index) {
    return index < kRules.size() && index != kUnwritable;
}

std::optional<SettingValue> CheckSetting(std::string_view name, long long value,
                                         std::string& error) {
    const auto index = KnownField(name, error);
    if (!index) {
        return std::nullopt;
    }
    const FieldRule& rule = kRules[*index];
    const bool fits = *index == kUnwritable ? value >= 0 && value <= 255 : Fits(rule, value);
    if (!fits) {
        error = std::string(rule.name) + " cannot be " + std::to_string(value) + "; it takes " +
                rule.allowed + ".";
        return std::nullopt;
    }
    return SettingValue{*index, static_cast<std::uint8_t>(value)};
}

std::optional<SettingValue> ParseAssignment(std::string_view assignment, std::string& error) {
    const auto equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        error = "Expected FIELD=VALUE: " + std::string(assignment);
        return std::nullopt;
    }
    const std::string_view name = assignment.substr(0, equals);
    const std::string_view text = assignment.substr(equals + 1);
    const auto index = KnownField(name, error);
    if (!index) {
        return std::nullopt;
    }
    if (*index == kUnwritable) {
        error = std::string(name) + " cannot be set: no command of the printer writes it.";
        return std::nullopt;
    }
    const auto value = ParseSettingNumber(text);
    if (!value) {
        error = std::string(name) + ": \"" + std::string(text) +
                "\" is not a number (decimal, or hexadecimal after 0x); it takes " +
                kRules[*index].allowed + ".";
        return std::nullopt;
    }
    return CheckSetting(name, *value, error);
}
