#pragma once

#include <array>
#include <cstdint>
#include <optional>

// The printer's own line settings, as its settings record describes them.
struct SimLine {
    unsigned baudRate = 115200;
    int parity = 0;  // 0 none, 1 odd, 2 even
    bool twoStopBits = false;
    int flowControl = 1;  // 0 none, 1 RTS/CTS, 2 Xon/Xoff, 3 RTS/CTS+Xon/Xoff

    bool operator==(const SimLine&) const = default;
};

// What the host programmed on its side of the pseudo-terminal, as far as a printer would feel
// it: parity is not visible through the master side.
struct HostLine {
    unsigned baudRate = 0;
    bool twoStopBits = false;
    bool rtsCts = false;
    bool xonXoff = false;
};

enum class LineVerdict { Match, WrongSpeed, WrongFraming };

inline constexpr std::array<unsigned, 10> kSimBaudRates{115200, 57600, 38400, 28800, 19200,
                                                        14400,  9600,  4800,  2400,  1200};

// Bytes 16 to 18 of the record: speed index, framing index, flow control in bits 4-5.
SimLine LineFromRecord(std::uint8_t baudIndex, std::uint8_t framing, std::uint8_t flow);
// The record bytes 16 to 18 for a line; nullopt for a speed the printer does not offer.
std::optional<std::array<std::uint8_t, 3>> RecordFromLine(const SimLine& line);
// With anyHandshake only the speed and the stop bits must match.
LineVerdict JudgeHostLine(const HostLine& host, const SimLine& printer, bool anyHandshake = false);
// The host's settings, read through the master side of the pseudo-terminal.
std::optional<HostLine> ReadHostLine(int masterFd);
// Puts the pseudo-terminal in raw mode at the printer's own settings, so that a host which
// opens it without programming the line finds the printer's.
bool ProgramPtyLine(int fd, const SimLine& line);
