#pragma once

#include <chrono>
#include <cstddef>

// Several USB-serial drivers report the rate their divisor achieved rather than the one asked
// for (115384 for 115200). A UART receiver samples each bit in its middle, so both ends together
// may drift by almost half a bit over a frame of ten to twelve bits; allowing the host 2 % leaves
// the printer's own clock at least as much again.
inline constexpr unsigned kSpeedTolerancePerMille = 20;

// Whether a line whose driver reports this speed still carries the requested one.
bool IsSpeedAcceptable(unsigned requested, unsigned reported);

// Sets the line speed in bit/s, any value the driver takes (7200, 14400 and 28800 are not among
// the classic speed constants), and returns the speed the driver then reports; 0 when the driver
// refused the request or the speed cannot be read back.
unsigned SetSerialSpeed(int fd, unsigned baudRate);
// The output speed the driver holds now, 0 when it cannot be read.
unsigned ReadSerialSpeed(int fd);

// How long a write of this many bytes may take, the wait until they have left the driver
// included: a fixed allowance for the driver, and the bytes' own time on the wire, which at
// slow speeds outgrows any fixed limit (a 256-byte block's data request takes 2.2 s at
// 1200 bit/s).
std::chrono::milliseconds SerialWriteLimit(std::size_t bytes, unsigned baudRate);
// How many bytes the line carries in the time at its longest framing; at least one.
std::size_t BytesInWireTime(std::chrono::milliseconds time, unsigned baudRate);
