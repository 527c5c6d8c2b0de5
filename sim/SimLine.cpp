#include "SimLine.h"

#include <algorithm>

SimLine LineFromRecord(std::uint8_t baudIndex, std::uint8_t framing, std::uint8_t flow) {
    SimLine line;
    const std::size_t index = baudIndex & 0x0F;
    line.baudRate = index < kSimBaudRates.size() ? kSimBaudRates[index] : kSimBaudRates[0];
    const int framingIndex = (framing & 0x0F) % 6;
    line.twoStopBits = (framingIndex % 2) == 1;
    line.parity = framingIndex / 2;
    line.flowControl = (flow >> 4) & 0x03;
    return line;
}

std::optional<std::array<std::uint8_t, 3>> RecordFromLine(const SimLine& line) {
    const auto it = std::find(kSimBaudRates.begin(), kSimBaudRates.end(), line.baudRate);
    if (it == kSimBaudRates.end() || line.parity < 0 || line.parity > 2 || line.flowControl < 0 ||
        line.flowControl > 3) {
        return std::nullopt;
    }
    return std::array<std::uint8_t, 3>{
        static_cast<std::uint8_t>(it - kSimBaudRates.begin()),
        static_cast<std::uint8_t>(line.parity * 2 + (line.twoStopBits ? 1 : 0)),
        static_cast<std::uint8_t>(line.flowControl << 4)};
}

// A wrong speed garbles every byte; wrong stop bits or handshake make the printer deaf. The
// combined flow choice is software flow control on both ends.
LineVerdict JudgeHostLine(const HostLine& host, const SimLine& printer, bool anyHandshake) {
    if (host.baudRate != printer.baudRate) {
        return LineVerdict::WrongSpeed;
    }
    const bool wantRtsCts = printer.flowControl == 1;
    const bool wantXonXoff = printer.flowControl >= 2;
    const bool handshakeDiffers = host.rtsCts != wantRtsCts || host.xonXoff != wantXonXoff;
    if (host.twoStopBits != printer.twoStopBits || (handshakeDiffers && !anyHandshake)) {
        return LineVerdict::WrongFraming;
    }
    return LineVerdict::Match;
}
