#include "SettingItems.h"

#include <array>

#include "BarcodeStore.h"
#include "ConfiguratorStrings.h"
#include "FontStore.h"
#include "LineItems.h"
#include "NumberText.h"
#include "OptionsStore.h"
#include "PortStore.h"
#include "PrintingStore.h"
#include "SettingValues.h"
#include "TextPositionStore.h"

namespace {

constexpr std::array<int, 4> kDotsItems{32, 64, 96, 128};

// The string table's captions carry the blanks and colons of their controls.
std::string Caption(int id) {
    std::string text = ConfigString(id);
    const auto first = text.find_first_not_of(' ');
    return first == std::string::npos ? "" : text.substr(first);
}

std::vector<SettingChoice> Words(std::initializer_list<std::pair<const char*, int>> items) {
    std::vector<SettingChoice> choices;
    for (const auto& [word, id] : items) {
        choices.push_back({word, Caption(id)});
    }
    return choices;
}

// The port page's list items, each with its word on the command line.
template <std::size_t N>
std::vector<SettingChoice> Listed(const std::array<const char*, N>& words,
                                  const std::array<const char*, N>& items) {
    std::vector<SettingChoice> choices;
    for (std::size_t i = 0; i < N; ++i) {
        choices.push_back({words[i], items[i]});
    }
    return choices;
}

using Reader = int (*)(const PrinterSettings&);
using Storer = void (*)(PrinterSettings&, int);

SettingItem Control(const char* name, std::size_t field, int page, int label) {
    SettingItem item;
    item.name = name;
    item.field = field;
    item.page = Caption(page);
    item.label = Caption(label);
    return item;
}

// A number that is the byte itself takes the field's range, so the window's number fields and
// tq20's byte check cannot drift apart.
SettingItem Number(const char* name, std::size_t field, int page, int label, const char* unit,
                   Reader read) {
    SettingItem item = Control(name, field, page, label);
    const SettingRange range = SettingRangeOf(field);
    item.low = range.low;
    item.high = range.high;
    item.unit = unit;
    item.read = read;
    return item;
}

SettingItem Switch(const char* name, std::size_t field, int page, int label, Reader read,
                   Storer store) {
    SettingItem item = Control(name, field, page, label);
    item.choices = {{"off", ""}, {"on", ""}};
    item.isSwitch = true;
    item.read = read;
    item.store = store;
    return item;
}

SettingItem List(const char* name, std::size_t field, int page, int label,
                 std::vector<SettingChoice> choices, Reader read, Storer store) {
    SettingItem item = Control(name, field, page, label);
    item.choices = std::move(choices);
    item.read = read;
    item.store = store;
    return item;
}

void AddOptions(std::vector<SettingItem>& items) {
    items.push_back(Switch(
        "statusAutoReturn", 15, IDS_PRINTER_SETTINGS, IDS_STATUS_CHECK,
        [](const PrinterSettings& r) { return int{OptionsValuesOf(r).statusAutoReturn}; },
        [](PrinterSettings& r, int on) {
            OptionsValues values = OptionsValuesOf(r);
            values.statusAutoReturn = on != 0;
            StoreOptions(values, r);
        }));
    // The window's check box enables the button; the record's byte disables it.
    items.push_back(Switch(
        "feedButton", 13, IDS_PRINTER_SETTINGS, IDS_FEED_CHECK,
        [](const PrinterSettings& r) { return int{OptionsValuesOf(r).feedEnabled}; },
        [](PrinterSettings& r, int on) {
            OptionsValues values = OptionsValuesOf(r);
            values.feedEnabled = on != 0;
            StoreOptions(values, r);
        }));
}

// Numbers that are the record's byte itself: the field's own name writes them.
void AddPrinting(std::vector<SettingItem>& items) {
    items.push_back(Number("contrast", 0, IDS_PRINTING, IDS_CONTRAST_LABEL, "",
                           [](const PrinterSettings& r) { return int{r.contrast}; }));
    items.push_back(Number("printSpeed", 2, IDS_PRINTING, IDS_SPEED_PRINT_LABEL, "",
                           [](const PrinterSettings& r) { return int{r.printSpeed}; }));
    items.push_back(Number("dotsCount", 1, IDS_PRINTING, IDS_DOTS_LABEL, "dots",
                           [](const PrinterSettings& r) { return int{r.dotsCount}; }));
}

void AddFont(std::vector<SettingItem>& items) {
    items.push_back(List(
        "fontHeight", 3, IDS_FONT, IDS_HEIGHT_LABEL,
        Words({{"low", IDS_FONT_LOW},
               {"normal", IDS_SIZE_NORMAL},
               {"double", IDS_SIZE_DOUBLE},
               {"quadruple", IDS_SIZE_QUADRUPLE}}),
        [](const PrinterSettings& r) { return FontValuesOf(r.fontMode).heightIndex; },
        [](PrinterSettings& r, int index) {
            FontValues values = FontValuesOf(r.fontMode);
            values.heightIndex = index;
            StoreFont(values, r);
        }));
    items.push_back(List(
        "fontWidth", 3, IDS_FONT, IDS_WIDTH_LABEL,
        Words({{"narrow", IDS_FONT_NARROW},
               {"normal", IDS_SIZE_NORMAL},
               {"double", IDS_SIZE_DOUBLE},
               {"quadruple", IDS_SIZE_QUADRUPLE}}),
        [](const PrinterSettings& r) { return FontValuesOf(r.fontMode).widthIndex; },
        [](PrinterSettings& r, int index) {
            FontValues values = FontValuesOf(r.fontMode);
            values.widthIndex = index;
            StoreFont(values, r);
        }));
}

void AddFontStyles(std::vector<SettingItem>& items) {
    items.push_back(Switch(
        "bold", 3, IDS_FONT, IDS_STYLE_BOLD,
        [](const PrinterSettings& r) { return int{FontValuesOf(r.fontMode).bold}; },
        [](PrinterSettings& r, int on) {
            FontValues values = FontValuesOf(r.fontMode);
            values.bold = on != 0;
            StoreFont(values, r);
        }));
    items.push_back(Switch(
        "underline", 3, IDS_FONT, IDS_STYLE_UNDERLINE,
        [](const PrinterSettings& r) { return int{FontValuesOf(r.fontMode).underline}; },
        [](PrinterSettings& r, int on) {
            FontValues values = FontValuesOf(r.fontMode);
            values.underline = on != 0;
            StoreFont(values, r);
        }));
    items.push_back(Switch(
        "negative", 3, IDS_FONT, IDS_STYLE_NEGATIVE,
        [](const PrinterSettings& r) { return int{FontValuesOf(r.fontMode).negative}; },
        [](PrinterSettings& r, int on) {
            FontValues values = FontValuesOf(r.fontMode);
            values.negative = on != 0;
            StoreFont(values, r);
        }));
}

void AddTextPosition(std::vector<SettingItem>& items) {
    items.push_back(List(
        "alignment", 6, IDS_TEXT_POSITION, IDS_ALIGNMENT_LABEL,
        Words({{"left", IDS_ALIGN_LEFT}, {"right", IDS_ALIGN_RIGHT}, {"center", IDS_ALIGN_CENTRE}}),
        [](const PrinterSettings& r) { return TextPositionValuesOf(r).alignmentIndex; },
        [](PrinterSettings& r, int index) {
            TextPositionValues values = TextPositionValuesOf(r);
            values.alignmentIndex = index;
            StoreTextPosition(values, r);
        }));
    items.push_back(Number("leftIndent", 5, IDS_TEXT_POSITION, IDS_INDENT_LABEL, "mm",
                           [](const PrinterSettings& r) { return int{r.leftIndent}; }));
    items.push_back(Number("printFieldWidth", 12, IDS_TEXT_POSITION, IDS_FIELD_LABEL, "mm",
                           [](const PrinterSettings& r) { return int{r.printFieldWidth}; }));
    items.push_back(Number("tabulation", 4, IDS_TEXT_POSITION, IDS_TABULATION_LABEL, "characters",
                           [](const PrinterSettings& r) { return int{r.tabulation}; }));
}

// The white field packs two numbers into one byte; each takes only what its bits can hold, in
// the window's fields as on the command line.
void AddWhiteField(std::vector<SettingItem>& items) {
    SettingItem lines = Number(
        "whiteTopBottom", 10, IDS_BARCODE, IDS_WHITE_TOP_BOTTOM_LABEL, "lines",
        [](const PrinterSettings& r) { return int{TextToByte(BarcodeValuesOf(r).aboveBelow)}; });
    lines.high = 31;
    lines.store = [](PrinterSettings& r, int value) {
        BarcodeValues values = BarcodeValuesOf(r);
        values.aboveBelow = std::to_string(value);
        StoreBarcode(values, r);
    };
    items.push_back(std::move(lines));
    SettingItem sides = Number(
        "whiteLeftRight", 10, IDS_BARCODE, IDS_WHITE_LEFT_RIGHT_LABEL, "mm",
        [](const PrinterSettings& r) { return int{TextToByte(BarcodeValuesOf(r).leftRight)}; });
    sides.high = 7;
    sides.store = [](PrinterSettings& r, int value) {
        BarcodeValues values = BarcodeValuesOf(r);
        values.leftRight = std::to_string(value);
        StoreBarcode(values, r);
    };
    items.push_back(std::move(sides));
}

void AddBarcode(std::vector<SettingItem>& items) {
    items.push_back(Number("barcodeHeight", 8, IDS_BARCODE, IDS_BARCODE_HEIGHT_LABEL, "lines",
                           [](const PrinterSettings& r) { return int{r.barcodeHeight}; }));
    items.push_back(Number("barcodeWidth", 9, IDS_BARCODE, IDS_BARCODE_WIDTH_LABEL, "",
                           [](const PrinterSettings& r) { return int{r.barcodeWidth}; }));
    AddWhiteField(items);
    items.push_back(Number("barcodeLeftIndent", 11, IDS_BARCODE, IDS_INDENT_LABEL, "mm",
                           [](const PrinterSettings& r) { return int{r.barcodeLeftIndent}; }));
    items.push_back(Switch(
        "barcodeHri", 7, IDS_BARCODE, IDS_READABLE_CHECK,
        [](const PrinterSettings& r) { return int{BarcodeValuesOf(r).readable}; },
        [](PrinterSettings& r, int on) {
            BarcodeValues values = BarcodeValuesOf(r);
            values.readable = on != 0;
            StoreBarcode(values, r);
        }));
}

void AddPort(std::vector<SettingItem>& items) {
    SettingItem baud = List(
        "portBaud", 16, IDS_RS232, IDS_SPEED_LABEL, Listed(kBaudRateItems, kBaudRateItems),
        [](const PrinterSettings& r) { return PortValuesOf(r).baudIndex; },
        [](PrinterSettings& r, int index) {
            PortValues values = PortValuesOf(r);
            values.baudIndex = index;
            StorePort(values, r);
        });
    baud.unit = "bit/s";
    items.push_back(std::move(baud));
    items.push_back(List(
        "portFlowControl", 18, IDS_RS232, IDS_FLOW_LABEL,
        Listed<4>({"none", "rtscts", "xonxoff", "both"}, kFlowControlItems),
        [](const PrinterSettings& r) { return PortValuesOf(r).flowIndex; },
        [](PrinterSettings& r, int index) {
            PortValues values = PortValuesOf(r);
            values.flowIndex = index;
            StorePort(values, r);
        }));
    // The page shows its framing list disabled at the first item; the byte still sets the
    // printer's line, so the command line reads and writes it as the list's index.
    items.push_back(List(
        "portFraming", 17, IDS_RS232, IDS_FRAMING_LABEL,
        Listed<6>({"8N1", "8N2", "8O1", "8O2", "8E1", "8E2"}, kFramingItems),
        [](const PrinterSettings& r) { return r.portFraming <= 5 ? int{r.portFraming} : -1; },
        [](PrinterSettings& r, int index) {
            PortValues values = PortValuesOf(r);
            values.framingIndex = index;
            StorePort(values, r);
        }));
}

std::vector<SettingItem> BuildItems() {
    std::vector<SettingItem> items;
    AddOptions(items);
    AddPrinting(items);
    AddFont(items);
    AddFontStyles(items);
    AddTextPosition(items);
    AddBarcode(items);
    AddPort(items);
    return items;
}

}  // namespace

const std::vector<SettingItem>& SettingItems() {
    static const std::vector<SettingItem> items = BuildItems();
    return items;
}

const SettingItem* FindSettingItem(std::string_view name) {
    for (const SettingItem& item : SettingItems()) {
        if (item.name == name) {
            return &item;
        }
    }
    return nullptr;
}

std::vector<const SettingItem*> ItemsOfField(std::size_t field) {
    std::vector<const SettingItem*> items;
    for (const SettingItem& item : SettingItems()) {
        if (item.field == field) {
            items.push_back(&item);
        }
    }
    return items;
}

std::string ItemWord(const SettingItem& item, int value) {
    if (item.choices.empty()) {
        return std::to_string(value);
    }
    return value >= 0 && static_cast<std::size_t>(value) < item.choices.size()
               ? item.choices[static_cast<std::size_t>(value)].word
               : std::string();
}

std::string ItemShown(const SettingItem& item, int value) {
    if (item.isSwitch) {
        return (value != 0 ? "[x] " : "[ ] ") + item.label;
    }
    const std::string separator = !item.label.empty() && item.label.back() == ':' ? " " : ": ";
    if (item.choices.empty()) {
        return item.label + separator + std::to_string(value);
    }
    const bool listed = value >= 0 && static_cast<std::size_t>(value) < item.choices.size();
    return listed ? item.label + separator + item.choices[static_cast<std::size_t>(value)].shown
                  : item.label;
}

PrinterSettings AsTheWindowSaves(const PrinterSettings& record) {
    PrinterSettings saved = record;
    StoreOptions(OptionsValuesOf(record), saved);
    const int dots = kDotsItems[static_cast<std::size_t>(DotsItemIndex(record.dotsCount))];
    StorePrinting({record.contrast, record.printSpeed, dots}, saved);
    StoreFont(FontValuesOf(record.fontMode), saved);
    StoreTextPosition(TextPositionValuesOf(record), saved);
    StoreBarcode(BarcodeValuesOf(record), saved);
    StorePort(PortValuesOf(record), saved);
    return saved;
}
