#pragma once

#include <cstdint>
#include <span>

// CRC-16/ARC: reflected polynomial 0xA001, initial value 0, no final XOR.
std::uint16_t Crc16Arc(std::span<const std::uint8_t> bytes);
