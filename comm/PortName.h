#pragma once

#include <string>

// The device name the serial port opens for a port name given by the user. Windows needs the
// "\\.\" device prefix for names of five characters or more (COM10 and up); a POSIX device path
// is used as it is. Both drop one trailing ':' (printer queues write ports as "COM3:").
std::string NormaliseWindowsPortName(std::string name);
std::string NormalisePosixPortName(std::string name);
std::string NormalisePortName(std::string name);
