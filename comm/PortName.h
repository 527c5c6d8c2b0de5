#pragma once

#include <string>

// The device name the serial port opens for a port name given by the user. Windows needs the
// "\\.\" device prefix for names of five characters or more (COM10 and up); a POSIX device path
// is used as it is. Both drop one trailing ':' (printer queues write ports as "COM3:").
std::string NormaliseWindowsPortName(std::string name);
std::string NormalisePosixPortName(std::string name);
std::string NormalisePortName(std::string name);

// The port string printer queues use for a port the user names, compared exactly. The Windows
// spooler writes "COM3:" (upper case, one colon); elsewhere a queue's device is its path with
// links resolved, so /dev/serial/by-id/... and the tty it points to are one port.
std::string WindowsQueuePortName(const std::string& name);
std::string PosixQueuePortName(const std::string& name);
std::string QueuePortName(const std::string& name);
