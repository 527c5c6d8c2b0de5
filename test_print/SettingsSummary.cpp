#include "SettingsSummary.h"

#include "SettingItems.h"

std::vector<std::string> SettingsSummary(const PrinterSettings& record) {
    std::vector<std::string> lines;
    std::string page;
    for (const SettingItem& item : SettingItems()) {
        if (item.page != page) {
            page = item.page;
            lines.push_back(page);
        }
        // Appended, not " " + text: GCC 12 at -O3 warns about the temporary's copy.
        std::string line(1, ' ');
        line += ItemShown(item, item.read(record));
        lines.push_back(std::move(line));
    }
    return lines;
}
