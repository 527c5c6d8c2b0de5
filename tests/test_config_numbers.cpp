// The pages' number fields take what their settings can hold and nothing else: the window and
// tq20 read the range from the same table, and a value out of it is shown and never saved.
#include <QIntValidator>
#include <QLineEdit>
#include <QTreeWidgetItemIterator>

#include "ConfigWindowFixture.h"
#include "SettingEdit.h"

namespace {

struct FieldSetting {
    int pageId;
    const char* field;
    const char* setting;
};

// Every number field a page shows has the range of its entry in the settings table, and tq20
// takes the same range for that setting.
TEST_F(ConfigWindowTest, EveryNumberFieldTakesTheRangeOfItsSetting) {
    const FieldSetting fields[] = {
        {kPageTextPosition, "indentEdit", "leftIndent"},
        {kPageTextPosition, "fieldEdit", "printFieldWidth"},
        {kPageTextPosition, "tabEdit", "tabulation"},
        {kPageBarcode, "heightEdit", "barcodeHeight"},
        {kPageBarcode, "widthEdit", "barcodeWidth"},
        {kPageBarcode, "aboveBelowEdit", "whiteTopBottom"},
        {kPageBarcode, "leftRightEdit", "whiteLeftRight"},
        {kPageBarcode, "indentEdit", "barcodeLeftIndent"},
    };
    ASSERT_TRUE(Connect());
    auto* tree = Find<QTreeWidget>(window.get(), "pageTree");
    std::size_t seen = 0;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        tree->setCurrentItem(*it);
        const int pageId = window->CurrentPageId();
        if (pageId == kPageConnection) {
            continue;  // the port's path, not a number
        }
        for (auto* field : window->Page(pageId)->findChildren<QLineEdit*>()) {
            if (!field->isVisible()) {
                continue;
            }
            const std::string where =
                (*it)->text(0).toStdString() + ", " + field->objectName().toStdString();
            const auto entry = std::find_if(std::begin(fields), std::end(fields), [&](auto& f) {
                return f.pageId == pageId && field->objectName() == f.field;
            });
            ASSERT_NE(entry, std::end(fields)) << where << " is in no table entry";
            ++seen;
            const SettingItem* item = FindSettingItem(entry->setting);
            ASSERT_NE(item, nullptr) << where;
            const auto* range = qobject_cast<const QIntValidator*>(field->validator());
            ASSERT_NE(range, nullptr) << where;
            EXPECT_EQ(range->bottom(), item->low) << where;
            EXPECT_EQ(range->top(), item->high) << where;
            std::string error;
            const std::string name = entry->setting;
            EXPECT_TRUE(ParseEdit(name + "=" + std::to_string(item->low), error)) << where;
            EXPECT_TRUE(ParseEdit(name + "=" + std::to_string(item->high), error)) << where;
            EXPECT_FALSE(ParseEdit(name + "=" + std::to_string(item->high + 1), error)) << where;
        }
    }
    EXPECT_EQ(seen, std::size(fields)) << "every field of the table is on its page";
}

}  // namespace
