#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "SimBootArea.h"
#include "SimLine.h"

// The printer's side of the command language, without any I/O: bytes from the host go in,
// the printer's replies come out, and the settings record changes as a printer's would.
class CSimProtocol {
public:
    using Record = std::array<std::uint8_t, 19>;
    static constexpr int kInfoItems = 9;
    static constexpr int kInfoSerial = 3;
    static constexpr int kInfoFirmware = 4;
    static constexpr int kInfoFont = 9;

    struct Output {
        std::vector<std::uint8_t> reply;
        std::vector<std::vector<std::uint8_t>> commands;  // every complete command, as received
        bool lineChanged = false;
    };

    CSimProtocol();

    Output Feed(std::span<const std::uint8_t> bytes);

    const Record& Current() const { return m_current; }
    const Record& Saved() const { return m_saved; }
    const Record& Factory() const { return m_factory; }
    void SetCurrent(const Record& record) { m_current = record; }
    void SetSaved(const Record& record) { m_saved = record; }
    SimLine Line() const;
    // Changes the printer's line settings in the current and the saved record.
    bool SetLine(const SimLine& line);
    void SetInfoItem(int item, std::string text);
    std::string InfoItem(int item) const;
    // What the firmware item reports after a program load that ran to its end, and the font
    // item after such a font load; without them a load leaves the items as they were.
    void SetLoadedVersion(std::string version) { m_loadedVersion = std::move(version); }
    void SetLoadedFont(std::string font) { m_loadedFont = std::move(font); }
    // The host's line went away: a command half heard goes with it.
    void LineLost();
    void SetStatus(std::uint8_t status) { m_status = status; }
    CSimBootArea& BootArea() { return m_boot; }
    bool InBootArea() const { return m_boot.Active(); }
    // The boot area listens whatever handshake the host uses; so does the printer to a host
    // whose next bytes ask for the boot area.
    bool ListensToAnyHandshake(std::span<const std::uint8_t> next) const;
    // Bytes that did not start any command the printer knows.
    std::size_t IgnoredBytes() const { return m_ignored; }

private:
    struct Command {
        std::vector<std::uint8_t> prefix;
        std::size_t params;
        std::function<void(std::span<const std::uint8_t> params, Output& out)> act;
    };

    void BuildCommands();
    void SetByte(std::vector<std::uint8_t> prefix, std::size_t index, std::size_t params = 1);
    void Accept(std::vector<std::uint8_t> prefix, std::size_t params);
    void AnswerInfo(std::uint8_t item, Output& out) const;
    void FeedBootArea(Output& out);
    // 1: a whole command is at the front; 0: it may still come; -1: no command starts here.
    int MatchFront(const Command& command) const;

    Record m_factory{};
    Record m_saved{};
    Record m_current{};
    std::array<std::string, kInfoItems> m_info;
    std::optional<std::string> m_loadedVersion;
    std::optional<std::string> m_loadedFont;
    std::uint8_t m_status = 0;
    std::vector<Command> m_commands;
    CSimBootArea m_boot;
    std::vector<std::uint8_t> m_pending;
    std::size_t m_ignored = 0;
};
