#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "PrinterSettings.h"

// One word a setting takes, and the list item or check box state the window shows for it.
struct SettingChoice {
    std::string word;
    std::string shown;
};

// A setting by meaning, as one control of the window's pages shows it: a list, a check box or
// a number. Several can share a record byte (the font's size and styles); where one has the
// field's own name, that name takes both the byte and the words.
struct SettingItem {
    std::string name;
    std::size_t field = 0;
    std::string page;                    // the page's title, as the window's tree shows it
    std::string label;                   // the control's caption on that page
    std::vector<SettingChoice> choices;  // empty: a number from low to high
    int low = 0;
    int high = 255;
    std::string unit;       // after a number, for people
    bool isSwitch = false;  // a check box: the choices are off and on
    // The window's reading of the record: a choice index (-1 when none fits) or the number.
    int (*read)(const PrinterSettings&) = nullptr;
    // Writes a value through the page's store rule; empty where a number is the byte itself.
    void (*store)(PrinterSettings&, int) = nullptr;
};

// Every setting in the order of the window's tree of pages and of the controls on each page.
const std::vector<SettingItem>& SettingItems();
const SettingItem* FindSettingItem(std::string_view name);
// The settings that make up a record byte, in page order.
std::vector<const SettingItem*> ItemsOfField(std::size_t field);

// The value as the command line writes it ("center", "on", "9600"); empty when no choice fits.
std::string ItemWord(const SettingItem& item, int value);
// What the window shows for it: "Выравнивание: По центру", "[x] Жирный".
std::string ItemShown(const SettingItem& item, int value);

// The record as the window would store it after showing it, page by page: where a byte
// differs, the window reads the byte as something it would save otherwise.
PrinterSettings AsTheWindowSaves(const PrinterSettings& record);
