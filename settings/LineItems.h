#pragma once

#include <array>

// The texts of the line parameter lists, in list order: the index of an item is what the
// printer's record holds. Shared by the windows' lists and the command line's words.
inline constexpr std::array<const char*, 10> kBaudRateItems{
    "115200", "57600", "38400", "28800", "19200", "14400", "9600", "4800", "2400", "1200"};
inline constexpr std::array<const char*, 6> kFramingItems{"1,  None", "2,  None", "1,  Odd",
                                                          "2,  Odd",  "1,  Even", "2,  Even"};
inline constexpr std::array<const char*, 4> kFlowControlItems{"None", "RTS/CTS", "Xon/Xoff",
                                                              "RTS/CTS+Xon/Xoff"};
