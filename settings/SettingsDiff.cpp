#include "SettingsDiff.h"

#include <algorithm>
#include <array>

#include "SettingItems.h"
#include "SettingValues.h"
#include "SettingsTable.h"

namespace {

using Row = std::array<std::string, 3>;

// The byte and the meanings that differ; all of the field's meanings when the two bytes mean
// the same to the window (a bit no page shows). A number that is the byte itself ("48 mm")
// stands alone.
std::string Side(std::size_t field, const PrinterSettings& record, const PrinterSettings& other) {
    const auto items = ItemsOfField(field);
    if (items.size() == 1 && items[0]->choices.empty() && items[0]->name == SettingName(field)) {
        return MeaningText(*items[0], record);
    }
    std::vector<std::string> differing;
    std::vector<std::string> all;
    for (const SettingItem* item : items) {
        const std::string text = MeaningText(*item, record);
        all.push_back(text);
        if (text != MeaningText(*item, other)) {
            differing.push_back(text);
        }
    }
    std::string meaning;
    for (const std::string& text : differing.empty() ? all : differing) {
        meaning += (meaning.empty() ? "" : ", ") + text;
    }
    const std::string byte = std::to_string(record.ToBytes()[field]);
    return meaning.empty() ? byte : byte + ": " + meaning;
}

std::string Table(const std::vector<Row>& rows) {
    std::array<std::size_t, 2> widths{};
    for (const Row& row : rows) {
        widths[0] = std::max(widths[0], row[0].size() + 2);
        widths[1] = std::max(widths[1], row[1].size() + 2);
    }
    std::string text;
    for (const Row& row : rows) {
        text += row[0] + std::string(widths[0] - row[0].size(), ' ') + row[1] +
                std::string(widths[1] - row[1].size(), ' ') + row[2] + "\n";
    }
    return text;
}

}  // namespace

std::string SettingsDifferences(const PrinterSettings& printer, const PrinterSettings& file,
                                const std::vector<std::size_t>& fields) {
    std::vector<std::size_t> named = fields;
    std::sort(named.begin(), named.end());
    named.erase(std::unique(named.begin(), named.end()), named.end());
    // The file's fields over the printer's record, so that every meaning reads a whole record.
    auto merged = printer.ToBytes();
    const auto wanted = file.ToBytes();
    std::vector<Row> rows{{"field", "printer", "file"}};
    for (std::size_t field : named) {
        merged[field] = wanted[field];
    }
    const PrinterSettings fromFile = PrinterSettings::FromBytes(merged);
    for (std::size_t field : named) {
        if (printer.ToBytes()[field] != wanted[field]) {
            rows.push_back({SettingName(field), Side(field, printer, fromFile),
                            Side(field, fromFile, printer)});
        }
    }
    return rows.size() == 1 ? "" : Table(rows);
}
