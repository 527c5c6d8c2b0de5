#include "SettingsSession.h"

#include "Console.h"
#include "SettingsFile.h"
#include "SettingsText.h"

namespace {

// A saved settings file is a few hundred bytes; anything much larger is not one.
constexpr std::size_t kSettingsFileLimit = 64 * 1024;

}  // namespace

int BadInput(const std::string& text) {
    Err() << text << '\n';
    return kSettingsBadInput;
}

bool ReadSettingsFile(const std::string& path, PrinterSettings& wanted,
                      std::vector<std::size_t>& fields) {
    std::string error;
    const auto text = ReadSmallFile(path, kSettingsFileLimit, error);
    if (!text || !ApplyJson(*text, wanted, fields, error)) {
        Err() << (text ? path + ": " + error : error) << '\n';
        return false;
    }
    return true;
}
