// The pages' number fields take what their settings can hold and nothing else: the window and
// tq20 read the range from the same table, and a value out of it is shown and never saved.
#include <QApplication>
#include <QIntValidator>
#include <QLineEdit>
#include <QToolTip>
#include <QTreeWidgetItemIterator>

#include "ConfigWindowFixture.h"
#include "OptionFrame.h"
#include "SettingEdit.h"

namespace {

QString Allowed(int low, int high) {
    return Text(IDS_NUMBER_ALLOWED).arg(low).arg(high);
}

// The refusal's frame is drawn over the style's own, so the left edge halfway down is red.
bool FramedRed(QLineEdit* field) {
    const QImage image = field->grab().toImage();
    const QColor edge = image.pixelColor(1, image.height() / 2);
    return edge.red() > 150 && edge.green() < 90 && edge.blue() < 90;
}

void Type(QLineEdit* field, const char* text) {
    field->selectAll();
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

struct NumberCase {
    const char* name;
    int treeText;
    int pageId;
    const char* field;
    const char* refused;  // typed key by key
    QString allowed;
    const char* end;  // an end of the range, which the refused text would not have stored
    int group;
    int mask;
    std::size_t recordByte;
    std::uint8_t stored;  // the record byte after the end is saved
};

struct FieldText {
    int treeText;
    int pageId;
    const char* field;
    const char* text;
};

// A record in the middle of every range, so that each end is a change.
void SetMiddleValues(CPrinterSim& sim) {
    sim.WithProtocol([](CSimProtocol& p) {
        auto record = p.Current();
        record[4] = 8;              // tabulation
        record[8] = 100;            // barcode height
        record[10] = (5 << 3) | 3;  // white field 5 lines, 3 mm
        record[12] = 72;            // print field
        p.SetCurrent(record);
    });
}

// Each text is typed as a user types it. The field shows the refusal, a save neither starts nor
// sends anything and points at the field; an end of the range then saves, and a new connection
// reads it back.
TEST_F(ConfigWindowTest, NumberFieldsRefuseWhatTheirSettingCannotHold) {
    const NumberCase cases[] = {
        {"print field 999", IDS_TEXT_POSITION, kPageTextPosition, "fieldEdit", "999",
         Allowed(0, 255), "0", kGroupTextPosition, 0x04, 12, 0},
        {"tabulation 256", IDS_TEXT_POSITION, kPageTextPosition, "tabEdit", "256", Allowed(0, 255),
         "255", kGroupTextPosition, 0x08, 4, 255},
        {"barcode height empty", IDS_BARCODE, kPageBarcode, "heightEdit", "", Allowed(0, 255),
         "255", kGroupBarcode, 0x01, 8, 255},
        {"white field 32 lines", IDS_BARCODE, kPageBarcode, "aboveBelowEdit", "32", Allowed(0, 31),
         "31", kGroupBarcode, 0x08, 10, (31 << 3) | 3},
        {"white field 99 lines", IDS_BARCODE, kPageBarcode, "aboveBelowEdit", "99", Allowed(0, 31),
         "0", kGroupBarcode, 0x08, 10, 3},
        {"white field 9 mm", IDS_BARCODE, kPageBarcode, "leftRightEdit", "9", Allowed(0, 7), "0",
         kGroupBarcode, 0x08, 10, 0},
        {"white field empty mm", IDS_BARCODE, kPageBarcode, "leftRightEdit", "", Allowed(0, 7), "7",
         kGroupBarcode, 0x08, 10, 7},
    };
    SetMiddleValues(sim);
    ASSERT_TRUE(Connect());
    for (const NumberCase& c : cases) {
        Select(c.treeText);
        ASSERT_EQ(window->CurrentPageId(), c.pageId) << c.name;
        auto* field = window->Page(c.pageId)->findChild<QLineEdit*>(c.field);
        Type(field, c.refused);
        EXPECT_EQ(field->text(), QString(c.refused)) << c.name;
        EXPECT_TRUE(FramedRed(field)) << c.name;
        EXPECT_EQ(field->toolTip(), c.allowed) << c.name;

        const auto before = sim.Current();
        sim.ClearLog();
        SaveButton()->click();
        EXPECT_TRUE(SaveButton()->isEnabled()) << c.name << ": no save started";
        EXPECT_EQ(QApplication::focusWidget(), field) << c.name;
        EXPECT_TRUE(QToolTip::isVisible()) << c.name;
        EXPECT_EQ(QToolTip::text(), c.allowed) << c.name;

        // A save that went out would have its read on the wire and its frame in the record.
        QTest::qWait(300);
        EXPECT_TRUE(sim.Commands().empty()) << c.name;
        EXPECT_EQ(sim.Current(), before) << c.name;

        Type(field, c.end);
        EXPECT_FALSE(FramedRed(field)) << c.name;
        EXPECT_TRUE(field->toolTip().isEmpty()) << c.name;
        SaveButton()->click();
        ASSERT_TRUE(WaitForCommands(3, 3000)) << c.name;
        auto expected = before;
        expected[c.recordByte] = c.stored;
        Bytes wire = kReadRequest;
        const auto frame =
            BuildOptionFrame(PrinterSettings::FromBytes(expected), c.group, c.mask).bytes;
        wire.insert(wire.end(), frame.begin(), frame.end());
        EXPECT_EQ(sim.ReceivedBytes(), wire) << c.name;
        EXPECT_EQ(sim.Current(), expected) << c.name;
        ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 3000)) << c.name;
    }
    ConnectButton()->click();  // disconnect
    ASSERT_TRUE(Connect());
    const FieldText readBack[] = {{IDS_TEXT_POSITION, kPageTextPosition, "fieldEdit", "0"},
                                  {IDS_TEXT_POSITION, kPageTextPosition, "tabEdit", "255"},
                                  {IDS_BARCODE, kPageBarcode, "heightEdit", "255"},
                                  {IDS_BARCODE, kPageBarcode, "aboveBelowEdit", "0"},
                                  {IDS_BARCODE, kPageBarcode, "leftRightEdit", "7"}};
    for (const FieldText& shown : readBack) {
        Select(shown.treeText);
        EXPECT_EQ(window->Page(shown.pageId)->findChild<QLineEdit*>(shown.field)->text(),
                  QString(shown.text))
            << shown.field;
    }
    EXPECT_TRUE(notifier.Messages().empty());
}

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
