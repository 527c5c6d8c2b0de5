#pragma once

#include <cstddef>
#include <vector>

#include "CPrinterSession.h"
#include "CSettingsConversation.h"

// The write of the named fields, and only those, from wanted where they differ from current,
// each with its option bit; the named fields are checked when the record is read back.
SettingsWrite WriteOfFields(const PrinterSettings& current, const PrinterSettings& wanted,
                            const std::vector<std::size_t>& fields);

// Opens the line and runs the save: reads the record, writes what compose makes of it with the
// same option frames as the window (a change of the printer's port last, followed by the
// reconnect at the new line and the store command), then reads it back and checks it.
bool WriteSettings(CPrinterSession& session, CSettingsConversation::Compose compose);
