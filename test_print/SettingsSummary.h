#pragma once

#include <string>
#include <vector>

#include "PrinterSettings.h"

// The record as the window's pages show it, page by page: each page's title, then one line a
// control ("Выравнивание: По центру", "[x] Жирный"), in the interface's language.
std::vector<std::string> SettingsSummary(const PrinterSettings& record);
