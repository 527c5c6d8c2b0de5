#include "SettingsText.h"

#include <algorithm>
#include <climits>

#include "SettingValues.h"

nlohmann::ordered_json SettingsAsJson(const PrinterSettings& settings) {
    const auto bytes = settings.ToBytes();
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        json[SettingName(i)] = bytes[i];
    }
    return json;
}

bool ApplyJson(const std::string& text, PrinterSettings& settings,
               std::vector<std::size_t>& written, std::string& error) {
    const auto json = nlohmann::json::parse(text, nullptr, false);
    if (json.is_discarded() || !json.is_object()) {
        error = "Not a settings file: expected a JSON object of settings by name.";
        return false;
    }
    auto bytes = settings.ToBytes();
    for (const auto& [name, entry] : json.items()) {
        const bool withMeaning = entry.is_object() && entry.contains("byte");
        const nlohmann::json& value = withMeaning ? entry["byte"] : entry;
        if (!value.is_number_integer()) {
            error = name + ": expected a whole number, found " + value.dump() + ".";
            return false;
        }
        // Unsigned numbers beyond the signed range are out of every field's range anyway.
        const long long number = value.is_number_unsigned()
                                     ? static_cast<long long>(std::min<std::uint64_t>(
                                           value.get<std::uint64_t>(), LLONG_MAX))
                                     : value.get<long long>();
        const auto checked = CheckSetting(name, number, error);
        if (!checked) {
            return false;
        }
        bytes[checked->index] = checked->value;
        if (IsWritableSetting(checked->index)) {
            written.push_back(checked->index);
        }
    }
    settings = PrinterSettings::FromBytes(bytes);
    return true;
}
