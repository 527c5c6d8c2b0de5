#include "SerialSpeed.h"

#include <algorithm>

namespace {

// What a driver may take beyond the wire time, as a write has always been allowed.
constexpr std::chrono::milliseconds kWriteAllowance{2000};
// The longest frame a byte can take: start bit, 8 data bits, parity and two stop bits.
constexpr unsigned long long kLongestFrameBits = 12;

}  // namespace

bool IsSpeedAcceptable(unsigned requested, unsigned reported) {
    if (requested == 0 || reported == 0) {
        return false;
    }
    const unsigned long long deviation =
        requested > reported ? requested - reported : reported - requested;
    return deviation * 1000 <= static_cast<unsigned long long>(requested) * kSpeedTolerancePerMille;
}

std::size_t BytesInWireTime(std::chrono::milliseconds time, unsigned baudRate) {
    const auto bits = static_cast<unsigned long long>(time.count()) * baudRate / 1000;
    return std::max<std::size_t>(1, static_cast<std::size_t>(bits / kLongestFrameBits));
}

std::chrono::milliseconds SerialWriteLimit(std::size_t bytes, unsigned baudRate) {
    if (baudRate == 0) {
        return kWriteAllowance;
    }
    const unsigned long long bits = bytes * kLongestFrameBits;
    return kWriteAllowance + std::chrono::milliseconds((bits * 1000 + baudRate - 1) / baudRate);
}
