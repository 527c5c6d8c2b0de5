#include "SettingsTable.h"

#include <algorithm>
#include <cctype>
#include <sstream>

#include "SettingValues.h"

namespace {

constexpr std::size_t kFieldColumn = 26;
constexpr std::size_t kMeaningColumn = 26;

std::string Padded(std::string text, std::size_t width) {
    text.resize(std::max(width, text.size() + 2), ' ');
    return text;
}

std::string FieldText(std::size_t field, const PrinterSettings& settings) {
    return std::string(SettingName(field)) + " = " + std::to_string(settings.ToBytes()[field]);
}

// Where the window would store the byte otherwise, the row says so: the byte is then one the
// window shows as the nearest thing it knows.
std::string WindowNote(std::size_t field, const PrinterSettings& settings) {
    const auto saved = AsTheWindowSaves(settings).ToBytes()[field];
    if (saved == settings.ToBytes()[field]) {
        return "";
    }
    return " (the window saves " + std::to_string(saved) + ")";
}

bool IsNumber(const std::string& word) {
    return !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c)) != 0;
    });
}

}  // namespace

std::string MeaningText(const SettingItem& item, const PrinterSettings& settings) {
    const std::string word = ItemWord(item, item.read(settings));
    const std::string value =
        word.empty() ? "unknown" : word + (item.unit.empty() ? "" : " " + item.unit);
    return item.name == SettingName(item.field) ? value : item.name + "=" + value;
}

std::string SettingsTable(const PrinterSettings& settings) {
    std::ostringstream text;
    std::string page;
    std::size_t lastField = PrinterSettings::kSize;
    for (const SettingItem& item : SettingItems()) {
        if (item.page != page) {
            text << (page.empty() ? "" : "\n") << '[' << item.page << "]\n";
            page = item.page;
        }
        const bool first = item.field != lastField;
        lastField = item.field;
        text << Padded(first ? FieldText(item.field, settings) : "", kFieldColumn)
             << Padded(MeaningText(item, settings), kMeaningColumn)
             << ItemShown(item, item.read(settings))
             << (first ? WindowNote(item.field, settings) : "") << '\n';
    }
    for (std::size_t field = 0; field < PrinterSettings::kSize; ++field) {
        if (ItemsOfField(field).empty()) {
            text << '\n' << Padded(FieldText(field, settings), kFieldColumn) << "not used\n";
        }
    }
    return text.str();
}

nlohmann::ordered_json SettingsMeaningJson(const PrinterSettings& settings) {
    const auto bytes = settings.ToBytes();
    nlohmann::ordered_json json = nlohmann::ordered_json::object();
    for (std::size_t field = 0; field < bytes.size(); ++field) {
        nlohmann::ordered_json meaning = nlohmann::ordered_json::object();
        for (const SettingItem* item : ItemsOfField(field)) {
            const std::string word = ItemWord(*item, item->read(settings));
            if (IsNumber(word)) {
                meaning[item->name] = std::stoi(word);
            } else if (!word.empty()) {
                meaning[item->name] = word;
            }
        }
        json[SettingName(field)] = {{"byte", bytes[field]}, {"meaning", meaning}};
    }
    return json;
}

std::string SettingsMeaningJsonText(const PrinterSettings& settings) {
    std::string text = "{\n";
    const auto json = SettingsMeaningJson(settings);
    for (auto entry = json.begin(); entry != json.end(); ++entry) {
        text += "  " + nlohmann::ordered_json(entry.key()).dump() + ": " + entry.value().dump() +
                (std::next(entry) == json.end() ? "\n" : ",\n");
    }
    return text + "}\n";
}
