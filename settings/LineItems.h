#pragma once

#include <array>
#include <cstddef>

// The texts of the line parameter lists, in list order: the index of an item is what the
// printer's record holds. Shared by the windows' lists and the command line's words.
inline constexpr std::array<const char*, 10> kBaudRateItems{
    "115200", "57600", "38400", "28800", "19200", "14400", "9600", "4800", "2400", "1200"};
inline constexpr std::array<const char*, 6> kFramingItems{"1,  None", "2,  None", "1,  Odd",
                                                          "2,  Odd",  "1,  Even", "2,  Even"};
inline constexpr std::array<const char*, 4> kFlowControlItems{"None", "RTS/CTS", "Xon/Xoff",
                                                              "RTS/CTS+Xon/Xoff"};

// The speeds of the printer's port as numbers, in the order of its record's speed index
// (0 = 115200): read from the list's texts, so that the table is written once.
inline constexpr std::array<unsigned, kBaudRateItems.size()> kPrinterPortSpeeds = [] {
    std::array<unsigned, kBaudRateItems.size()> speeds{};
    for (std::size_t i = 0; i < speeds.size(); ++i) {
        for (const char* digit = kBaudRateItems[i]; *digit != '\0'; ++digit) {
            speeds[i] = speeds[i] * 10 + static_cast<unsigned>(*digit - '0');
        }
    }
    return speeds;
}();
