#pragma once

#include <array>

// The speeds a load can run at, as the loader's window lists them and tq20 load takes them.
inline constexpr std::array<unsigned, 9> kLoadSpeeds{2400,  4800,  7200,  9600,  14400,
                                                     19200, 38400, 57600, 115200};
