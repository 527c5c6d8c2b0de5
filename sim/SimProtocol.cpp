#include "SimProtocol.h"

#include <algorithm>

namespace {

constexpr std::uint8_t ESC = 0x1B;
constexpr std::uint8_t GS = 0x1D;
constexpr std::uint8_t DC2 = 0x12;

// Record offsets the printer itself changes.
constexpr std::size_t kPortBaud = 16;
constexpr std::size_t kPortFraming = 17;
constexpr std::size_t kPortFlow = 18;

// Out of the box: 115200 bit/s, 8N1, RTS/CTS.
constexpr CSimProtocol::Record kFactoryRecord{8,    64, 6,  0x50, 8, 0, 1, 0, 80,  3,
                                              0x12, 0,  48, 0,    0, 0, 0, 0, 0x10};

}  // namespace

CSimProtocol::CSimProtocol()
    : m_factory(kFactoryRecord),
      m_saved(kFactoryRecord),
      m_current(kFactoryRecord),
      m_info{"TQ-20", "TQ-20 CPU rev.2", "SN-20-004211",  "1.07", "2026-10-14", "C-00734155",
             "1.02",  "BOOT-A0 1.02",    "Cyrillic 12x24"} {
    BuildCommands();
}

SimLine CSimProtocol::Line() const {
    return LineFromRecord(m_current[kPortBaud], m_current[kPortFraming], m_current[kPortFlow]);
}

bool CSimProtocol::SetLine(const SimLine& line) {
    const auto bytes = RecordFromLine(line);
    if (!bytes) {
        return false;
    }
    std::copy(bytes->begin(), bytes->end(), m_current.begin() + kPortBaud);
    std::copy(bytes->begin(), bytes->end(), m_saved.begin() + kPortBaud);
    return true;
}

void CSimProtocol::SetInfoItem(int item, std::string text) {
    if (item >= 1 && item <= kInfoItems) {
        m_info[static_cast<std::size_t>(item - 1)] = std::move(text);
    }
}

std::string CSimProtocol::InfoItem(int item) const {
    return item >= 1 && item <= kInfoItems ? m_info[static_cast<std::size_t>(item - 1)]
                                           : std::string();
}

void CSimProtocol::LineLost() {
    m_pending.clear();
    m_boot.LineLost();
}

void CSimProtocol::SetByte(std::vector<std::uint8_t> prefix, std::size_t index,
                           std::size_t params) {
    m_commands.push_back(
        {std::move(prefix), params,
         [this, index](std::span<const std::uint8_t> p, Output&) { m_current[index] = p[0]; }});
}

void CSimProtocol::Accept(std::vector<std::uint8_t> prefix, std::size_t params) {
    m_commands.push_back({std::move(prefix), params, [](auto, Output&) {}});
}

void CSimProtocol::BuildCommands() {
    SetByte({DC2, 0x7F}, 0);
    SetByte({DC2, 'D', 'S'}, 1);
    SetByte({DC2, '~'}, 2);
    SetByte({ESC, '!'}, 3);
    SetByte({ESC, 'D'}, 4);
    SetByte({GS, 'L'}, 5, 2);
    SetByte({ESC, 'a'}, 6);
    SetByte({GS, 'H'}, 7);
    SetByte({GS, 'h'}, 8);
    SetByte({GS, 'w'}, 9);
    SetByte({GS, 'm'}, 10);
    SetByte({GS, 'S'}, 11);
    SetByte({GS, 'W'}, 12, 2);
    SetByte({ESC, 'c', '5'}, 13);
    SetByte({GS, 'a'}, 15);
    m_commands.push_back({{DC2, 'c', 'L', 'c'}, 0, [this](auto, Output& out) {
                              out.reply.insert(out.reply.end(), m_current.begin(), m_current.end());
                          }});
    m_commands.push_back({{DC2, 'c', 'S'}, 0, [this](auto, Output&) { m_saved = m_current; }});
    m_commands.push_back({{DC2, 'P', 'C'}, 0, [this](auto, Output& out) {
                              m_current = m_factory;
                              m_saved = m_factory;
                              out.lineChanged = true;
                          }});
    m_commands.push_back({{DC2, '0'}, 0, [this](auto, Output& out) {
                              m_current = m_saved;
                              out.lineChanged = true;
                          }});
    m_commands.push_back({{DC2, 'U'}, 2, [this](std::span<const std::uint8_t> p, Output& out) {
                              m_current[kPortBaud] = p[0];
                              m_current[kPortFraming] = p[1] & 0x0F;
                              m_current[kPortFlow] = p[1] & 0x30;
                              out.lineChanged = true;
                          }});
    m_commands.push_back({{GS, 'I'}, 1, [this](std::span<const std::uint8_t> p, Output& out) {
                              AnswerInfo(p[0], out);
                          }});
    m_commands.push_back(
        {{0x10, 0x04}, 1, [this](auto, Output& out) { out.reply.push_back(m_status); }});
    m_commands.push_back(
        {{ESC, 'B', 'O', 'O', 'T'}, 0, [this](auto, Output& out) { m_boot.Begin(out.reply); }});
    // Printing and other commands the printer takes without changing its settings.
    Accept({0x0A}, 0);
    Accept({ESC, 'J'}, 1);
    Accept({ESC, '*'}, 2);
    Accept({GS, 'k'}, 2);
    Accept({ESC, 0x40}, 0);
    Accept({0x18}, 0);
    Accept({DC2, 'S', 'M'}, 1);
    Accept({GS, '!'}, 1);
    Accept({ESC, 'E'}, 1);
    Accept({GS, 'B'}, 1);
    Accept({ESC, '-'}, 1);
}

// The name and the font end in NUL, the other items in LF.
void CSimProtocol::AnswerInfo(std::uint8_t item, Output& out) const {
    const bool known = item >= 1 && item <= kInfoItems;
    const std::string& text = known ? m_info[item - 1u] : std::string();
    out.reply.insert(out.reply.end(), text.begin(), text.end());
    out.reply.push_back(item == 1 || item == kInfoItems ? 0x00 : 0x0A);
}

bool CSimProtocol::ListensToAnyHandshake(std::span<const std::uint8_t> next) const {
    return m_boot.Active() ||
           (!next.empty() && next[0] == ESC && (next.size() < 2 || next[1] == 'B'));
}

int CSimProtocol::MatchFront(const Command& command) const {
    const std::size_t common = std::min(command.prefix.size(), m_pending.size());
    if (!std::equal(command.prefix.begin(), command.prefix.begin() + common, m_pending.begin())) {
        return -1;
    }
    return m_pending.size() >= command.prefix.size() + command.params ? 1 : 0;
}

void CSimProtocol::FeedBootArea(Output& out) {
    const std::size_t used = m_boot.Feed(m_pending, out.reply, out.commands);
    m_pending.erase(m_pending.begin(), m_pending.begin() + static_cast<long>(used));
    // The boot area left for a command of the printer's own: it is answered as such.
    const std::vector<std::uint8_t> back = m_boot.HandBack();
    m_pending.insert(m_pending.begin(), back.begin(), back.end());
    const SimLoadKind finished = m_boot.TakeFinishedLoad();
    if (finished == SimLoadKind::Program && m_loadedVersion) {
        SetInfoItem(kInfoFirmware, *m_loadedVersion);
    }
    if (finished == SimLoadKind::Font && m_loadedFont) {
        SetInfoItem(kInfoFont, *m_loadedFont);
    }
}

CSimProtocol::Output CSimProtocol::Feed(std::span<const std::uint8_t> bytes) {
    Output out;
    m_pending.insert(m_pending.end(), bytes.begin(), bytes.end());
    while (!m_pending.empty()) {
        if (m_boot.Active()) {
            FeedBootArea(out);
            continue;
        }
        const Command* whole = nullptr;
        bool mayComplete = false;
        for (const Command& command : m_commands) {
            const int match = MatchFront(command);
            if (match == 1) {
                whole = &command;
                break;
            }
            mayComplete = mayComplete || match == 0;
        }
        if (whole != nullptr) {
            const std::size_t length = whole->prefix.size() + whole->params;
            std::vector<std::uint8_t> frame(m_pending.begin(), m_pending.begin() + length);
            m_pending.erase(m_pending.begin(), m_pending.begin() + length);
            whole->act(std::span(frame).subspan(whole->prefix.size()), out);
            out.commands.push_back(std::move(frame));
        } else if (mayComplete) {
            break;
        } else {
            m_pending.erase(m_pending.begin());
            ++m_ignored;
        }
    }
    return out;
}
