#pragma once

#include <array>
#include <string>
#include <vector>

#include "LineItems.h"
#include "PrinterSettings.h"
#include "SerialLineSettings.h"

// Every line the printer's port can be set to that the host can tell apart, most likely first:
// the factory line, then 8N1 at the common speeds, then the other framings. Flow control 3
// both programs the host's line exactly as Xon/Xoff does, so it is not tried on its own; the
// printer's
// record tells them apart once it answers.
std::vector<SerialLineRequest> DetectionOrder();

// The line the printer's record says its port runs, read as the port page reads it.
SerialLineRequest LineOfRecord(const PrinterSettings& record);

// Whether two requests program the host's line the same way.
bool SameLineProgramming(const SerialLineRequest& a, const SerialLineRequest& b);

// "rtscts", "8N1" and the like, as tq20's options spell them.
std::string FlowName(FlowControl flowControl);
std::string FramingName(const SerialLineRequest& line);
