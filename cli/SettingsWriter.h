#pragma once

#include "CPrinterSession.h"
#include "PrinterSettings.h"

// Brings the printer from its current record to the wanted one, page by page through the
// pages' own store rules, so the same frames go out as from the window. A change of the
// printer's port is followed by reconnecting at the new line and the store command.
bool WriteSettings(CPrinterSession& session, PrinterSettings current,
                   const PrinterSettings& wanted);
