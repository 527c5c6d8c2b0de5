#pragma once

#include <cstddef>
#include <vector>

#include "CPrinterSession.h"
#include "PrinterSettings.h"

// Writes the named fields, and only those, from wanted where they differ from current (a
// record read cleanly in this conversation), with the same option frames as the window. A
// change of the printer's port is followed by reconnecting at the new line and the store
// command. Then reads the record back and checks every named field.
bool WriteFields(CPrinterSession& session, const PrinterSettings& current,
                 const PrinterSettings& wanted, const std::vector<std::size_t>& fields);
