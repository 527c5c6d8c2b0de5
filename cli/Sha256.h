#pragma once

#include <array>
#include <cstdint>
#include <span>

// SHA-256 of the bytes, by the system's own cryptography: OpenSSL on Linux, CNG on Windows.
std::array<std::uint8_t, 32> Sha256(std::span<const std::uint8_t> bytes);
