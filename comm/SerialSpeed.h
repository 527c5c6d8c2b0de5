#pragma once

// Sets the line speed in bit/s, any value the driver takes (7200, 14400 and 28800 are not among
// the classic speed constants), and reads it back. False when the driver refused the speed.
bool SetSerialSpeed(int fd, unsigned baudRate);
// The output speed the driver holds now, 0 when it cannot be read.
unsigned ReadSerialSpeed(int fd);
