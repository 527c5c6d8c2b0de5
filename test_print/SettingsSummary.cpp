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
        lines.push_back(" " + ItemShown(item, item.read(record)));
    }
    return lines;
}
