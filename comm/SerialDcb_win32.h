#pragma once

#include <windows.h>

#include "SerialLineSettings.h"

// The chosen speed, framing and flow control written into the driver's DCB. Fields that the
// choice does not decide (ErrorChar, EofChar, EvtChar) keep what the driver reported.
void ApplySerialLine(const SerialLineSettings& line, DCB& dcb);
