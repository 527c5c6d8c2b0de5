#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ConversationRunner.h"
#include "PrinterSettings.h"

// What the settings verbs share.

// Prints the text of a value or file that cannot be used, and gives its exit code.
int BadInput(const std::string& text);

// A file of settings by name, checked whole before the port opens; false after printing why.
bool ReadSettingsFile(const std::string& path, PrinterSettings& wanted,
                      std::vector<std::size_t>& fields);
