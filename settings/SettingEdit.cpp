#include "SettingEdit.h"

#include <algorithm>
#include <cctype>

#include "SettingValues.h"

namespace {

// The short name the port's flow control goes by, as on the line's own --flow.
constexpr std::string_view kFlowAlias = "flow";

bool SameWord(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// "left, right or center", or with both separators "|": "left|right|center".
std::string Alternatives(const SettingItem& item, const char* comma = ", ",
                         const char* last = " or ") {
    if (item.choices.empty()) {
        return std::to_string(item.low) + " to " + std::to_string(item.high) +
               (item.unit.empty() ? "" : " " + item.unit);
    }
    std::string text;
    for (std::size_t i = 0; i < item.choices.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == item.choices.size() ? last : comma) + item.choices[i].word;
    }
    return text;
}

std::string AllNames() {
    std::string bytes;
    for (std::size_t i = 0; i < PrinterSettings::kSize; ++i) {
        bytes += (i == 0 ? "" : ", ") + std::string(SettingName(i));
    }
    std::string meanings;
    for (const SettingItem& item : SettingItems()) {
        if (item.store != nullptr && !SettingIndex(item.name)) {
            meanings += ", " + item.name;
        }
    }
    return bytes + " (bytes) and " + meanings.substr(2) + " (by meaning)";
}

std::optional<int> MeaningValue(const SettingItem& item, std::string_view text) {
    if (item.choices.empty()) {
        const auto number = ParseSettingNumber(text);
        if (number && *number >= item.low && *number <= item.high) {
            return static_cast<int>(*number);
        }
        return std::nullopt;
    }
    for (std::size_t i = 0; i < item.choices.size(); ++i) {
        if (SameWord(text, item.choices[i].word)) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

// The error names the setting as it was typed ("flow" too).
std::optional<SettingEdit> ParseMeaning(const SettingItem& item, std::string_view typed,
                                        std::string_view text, std::string& error) {
    const auto value = MeaningValue(item, text);
    if (value) {
        return SettingEdit{item.field, &item, *value};
    }
    const auto field = SettingIndex(item.name);
    error = std::string(typed) + " cannot be \"" + std::string(text) + "\"; it takes " +
            Alternatives(item) +
            (field ? std::string(", or a byte: ") + SettingAllowed(*field) : std::string()) + ".";
    return std::nullopt;
}

}  // namespace

std::optional<SettingEdit> ParseEdit(std::string_view assignment, std::string& error) {
    const auto equals = assignment.find('=');
    if (equals == std::string_view::npos) {
        error = "Expected FIELD=VALUE: " + std::string(assignment);
        return std::nullopt;
    }
    const std::string_view typed = assignment.substr(0, equals);
    const std::string name = typed == kFlowAlias ? "portFlowControl" : std::string(typed);
    const std::string_view text = assignment.substr(equals + 1);
    const SettingItem* item = FindSettingItem(name);
    const bool isField = SettingIndex(name).has_value();
    if (item != nullptr && item->store != nullptr && (!isField || !ParseSettingNumber(text))) {
        return ParseMeaning(*item, typed, text, error);
    }
    if (!isField) {
        error = "No such setting: " + name + "; the settings are " + AllNames() + ".";
        return std::nullopt;
    }
    const auto raw = ParseAssignment(name + "=" + std::string(text), error);
    if (!raw) {
        return std::nullopt;
    }
    return SettingEdit{raw->index, nullptr, raw->value};
}

void ApplyEdit(const SettingEdit& edit, PrinterSettings& record) {
    if (edit.item != nullptr) {
        edit.item->store(record, edit.value);
        return;
    }
    auto bytes = record.ToBytes();
    bytes[edit.field] = static_cast<std::uint8_t>(edit.value);
    record = PrinterSettings::FromBytes(bytes);
}

std::string MeaningHelp() {
    std::string text = "Settings by meaning, as settings read shows them:\n";
    for (const SettingItem& item : SettingItems()) {
        if (item.store != nullptr) {
            text += "  " + item.name + "=" + Alternatives(item, "|", "|") + "\n";
        }
    }
    return text +
           "flow is short for portFlowControl, the printer's own port (--flow is the line to it "
           "now). A number after a field's name (contrast=12, fontMode=0x50) is its byte.";
}
