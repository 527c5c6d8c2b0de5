#pragma once

#include "PrinterSettings.h"

// The printer options page's two check boxes.
struct OptionsValues {
    bool feedEnabled = true;
    bool statusAutoReturn = false;
};

OptionsValues OptionsValuesOf(const PrinterSettings& settings);
// Whole bytes are compared: a FEED byte of 3 shown unchecked is stored as 1, a change.
int StoreOptions(const OptionsValues& values, PrinterSettings& settings);
