#include "SettingsText.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <sstream>

namespace {

constexpr std::array<const char*, PrinterSettings::kSize> kFieldNames{
    "contrast",        "dotsCount",          "printSpeed",       "fontMode",
    "tabulation",      "leftIndent",         "alignment",        "barcodeHri",
    "barcodeHeight",   "barcodeWidth",       "barcodeQuietZone", "barcodeLeftIndent",
    "printFieldWidth", "feedButtonDisabled", "reserved14",       "statusAutoReturn",
    "portBaudIndex",   "portFraming",        "portFlowControl"};

}  // namespace

std::string SettingsAsText(const PrinterSettings& settings) {
    const auto bytes = settings.ToBytes();
    std::ostringstream text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        text << kFieldNames[i] << " = " << static_cast<int>(bytes[i]) << '\n';
    }
    return text.str();
}

nlohmann::ordered_json SettingsAsJson(const PrinterSettings& settings) {
    const auto bytes = settings.ToBytes();
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        json[kFieldNames[i]] = bytes[i];
    }
    return json;
}

namespace {

bool SetField(const std::string& name, long long value, PrinterSettings& settings,
              std::string& error) {
    const auto it = std::find(kFieldNames.begin(), kFieldNames.end(), name);
    if (it == kFieldNames.end()) {
        error = "No such setting: " + name;
        return false;
    }
    if (value < 0 || value > 255) {
        error = "A setting is a number from 0 to 255: " + name;
        return false;
    }
    auto bytes = settings.ToBytes();
    bytes[static_cast<std::size_t>(it - kFieldNames.begin())] = static_cast<std::uint8_t>(value);
    settings = PrinterSettings::FromBytes(bytes);
    return true;
}

}  // namespace

bool ApplyAssignment(const std::string& assignment, PrinterSettings& settings, std::string& error) {
    const auto equals = assignment.find('=');
    if (equals == std::string::npos) {
        error = "Expected FIELD=VALUE: " + assignment;
        return false;
    }
    const std::string text = assignment.substr(equals + 1);
    char* end = nullptr;
    const long long value = std::strtoll(text.c_str(), &end, 0);
    if (text.empty() || *end != '\0') {
        error = "Not a number: " + assignment;
        return false;
    }
    return SetField(assignment.substr(0, equals), value, settings, error);
}

bool ApplyJson(const nlohmann::json& json, PrinterSettings& settings, std::string& error) {
    for (const auto& [name, value] : json.items()) {
        if (!value.is_number_integer()) {
            error = "Not a number: " + name;
            return false;
        }
        if (!SetField(name, value.get<long long>(), settings, error)) {
            return false;
        }
    }
    return true;
}
