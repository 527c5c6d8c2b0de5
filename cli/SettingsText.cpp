#include "SettingsText.h"

#include <array>
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
