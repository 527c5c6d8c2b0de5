#pragma once

#include <termios.h>

#include "SerialLineSettings.h"

// Raw mode plus the chosen framing and flow control; the speed is set separately because the
// speeds between the standard ones need an interface of their own on Linux.
void ApplySerialLine(const SerialLineSettings& line, termios& tio);
