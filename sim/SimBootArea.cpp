#include "SimBootArea.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

constexpr std::uint8_t RS = 0x1E;
constexpr std::size_t kShortRequest = 5;
constexpr std::array<std::uint8_t, 5> kBootRequest{0x1B, 'B', 'O', 'O', 'T'};

// 1: the bytes are the boot request; 0: they may become it; -1: they cannot.
int MatchBootRequest(const std::vector<std::uint8_t>& bytes) {
    const std::size_t common = std::min(bytes.size(), kBootRequest.size());
    if (!std::equal(bytes.begin(), bytes.begin() + static_cast<long>(common),
                    kBootRequest.begin())) {
        return -1;
    }
    return bytes.size() == kBootRequest.size() ? 1 : 0;
}

}  // namespace

CSimBootArea::CSimBootArea() : m_memory(kMemorySize, 0xFF) {}

void CSimBootArea::Begin(std::vector<std::uint8_t>& reply) {
    m_active = true;
    m_awaitingAnswer = true;
    m_fontStartPending = false;
    m_flag = m_config.flag;
    m_pending.clear();
    m_load = SimLoadKind::None;
    m_loadBlocks = 0;
    if (Faulty(BootFaultKind::Silence, 'B')) {
        return;
    }
    reply.push_back(Faulty(BootFaultKind::ControllerCode, 'B') ? 0xA2 : m_config.controllerCode);
}

bool CSimBootArea::Faulty(BootFaultKind kind, char at) const {
    return m_fault.kind == kind && m_fault.at == at;
}

std::size_t CSimBootArea::RequestLength(std::uint8_t letter) const {
    return letter == 'e' ? kShortRequest + m_length : kShortRequest;
}

std::size_t CSimBootArea::Feed(std::span<const std::uint8_t> bytes,
                               std::vector<std::uint8_t>& reply,
                               std::vector<std::vector<std::uint8_t>>& requests) {
    std::size_t used = 0;
    while (m_active && used < bytes.size()) {
        m_pending.push_back(bytes[used++]);
        // A loader that gave up and starts again finds the boot area from the beginning.
        if (const int boot = MatchBootRequest(m_pending); boot >= 0) {
            if (boot == 1) {
                requests.push_back(std::move(m_pending));
                m_pending.clear();
                Begin(reply);
            }
            continue;
        }
        if (m_awaitingAnswer) {
            m_awaitingAnswer = false;
            requests.push_back(std::move(m_pending));
            m_pending.clear();
            AnswerModel(reply);
            continue;
        }
        if (m_pending[0] != RS) {
            LeaveOrDrop();
            continue;
        }
        if (m_pending.size() >= 2 && m_pending.size() == RequestLength(m_pending[1])) {
            requests.push_back(std::move(m_pending));
            m_pending.clear();
            Answer(requests.back(), reply);
        }
    }
    return used;
}

// Between requests, bytes that start none of the boot area's are line noise to a printer
// without a working program; one whose program is whole leaves the boot area for them, as a
// load that was given up leaves it.
void CSimBootArea::LeaveOrDrop() {
    if (m_programBroken) {
        m_pending.clear();
        return;
    }
    m_active = false;
    m_handedBack = std::exchange(m_pending, {});
}

void CSimBootArea::AnswerModel(std::vector<std::uint8_t>& reply) {
    if (Faulty(BootFaultKind::Silence, 'M')) {
        return;
    }
    const std::string model = Faulty(BootFaultKind::Model, 'M') ? "TQ-99 X" : m_config.model;
    reply.insert(reply.end(), model.begin(), model.end());
    reply.push_back(0x00);
    reply.insert(reply.end(), {RS, 'S', 'M'});
    if (Faulty(BootFaultKind::Letters, 'M')) {
        reply.back() = 'X';
    }
    Trail(reply, true, 'M');
}

void CSimBootArea::Answer(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& reply) {
    const char letter = static_cast<char>(request[1]);
    if (Faulty(BootFaultKind::Silence, letter)) {
        return;
    }
    const std::size_t start = reply.size();
    switch (letter) {
        case 'r':
            OpenBlock(request[4]);
            reply.insert(reply.end(), {RS, 'C', 'A', 0x00});
            Trail(reply, false, letter);
            break;
        case 'a':
            AnswerAddress(request, reply);
            break;
        case 'd':
            m_length = request[2] + 256u * request[3];
            reply.insert(reply.end(), {RS, 'D', request[2], request[3]});
            if (Faulty(BootFaultKind::SizeEcho, 'd')) {
                reply.back() ^= 0x01;
            }
            Trail(reply, false, letter);
            break;
        case 'e':
            AnswerData(request, reply);
            return;
        case 'w':
            reply.insert(reply.end(), {RS, 'S', 'M'});
            Trail(reply, true, letter);
            if ((request[4] & 0x82) == 0x82) {
                FinishLoad();
            }
            break;
        default:
            return;
    }
    if (Faulty(BootFaultKind::Letters, letter)) {
        reply[start + 1] = 'X';
    }
}

void CSimBootArea::OpenBlock(std::uint8_t flag) {
    // Bit 2 of the flag byte opens a font load: the printer picks the address.
    m_fontStartPending = (flag & 0x04) != 0;
    if (m_load == SimLoadKind::None) {
        m_load = m_fontStartPending ? SimLoadKind::Font : SimLoadKind::Program;
        m_programLoads += m_load == SimLoadKind::Program ? 1 : 0;
    }
}

// The last block: back to printing, unless the program is still broken (a font went in after
// an interrupted program load), which leaves nothing to go back to.
void CSimBootArea::FinishLoad() {
    if (m_load == SimLoadKind::Program) {
        m_programBroken = false;
    }
    m_finished = m_load;
    m_load = SimLoadKind::None;
    m_loadBlocks = 0;
    m_active = m_programBroken;
}

void CSimBootArea::AnswerAddress(std::span<const std::uint8_t> request,
                                 std::vector<std::uint8_t>& reply) {
    if (m_fontStartPending) {
        m_fontStartPending = false;
        m_address = m_config.fontStart;
        m_flag = static_cast<std::uint8_t>((m_flag & ~0x01u) | ((m_address >> 16) & 0x01u));
    } else {
        m_address = request[2] | request[3] << 8 | (request[4] & 0x01u) << 16;
    }
    reply.insert(reply.end(), {RS, 'A', static_cast<std::uint8_t>(m_address & 0xFF),
                               static_cast<std::uint8_t>((m_address >> 8) & 0xFF)});
    if (Faulty(BootFaultKind::AddressEcho, 'a')) {
        reply.back() ^= 0x01;
    }
    Trail(reply, false, 'a');
}

void CSimBootArea::AnswerData(std::span<const std::uint8_t> request,
                              std::vector<std::uint8_t>& reply) {
    const auto data = request.subspan(kShortRequest);
    m_blockAddresses.push_back(m_address);
    ++m_loadBlocks;
    // From the first block on, the old program is partly overwritten.
    m_programBroken = m_programBroken || m_load == SimLoadKind::Program;
    for (std::size_t i = 0; i < data.size(); ++i) {
        m_memory[(m_address + i) % kMemorySize] = data[i];
    }
    std::uint8_t status = m_config.status;
    if (Faulty(BootFaultKind::Integrity, 'e')) {
        status |= 0x40;
    }
    std::uint8_t check0 = request[2];
    if (Faulty(BootFaultKind::CheckEcho, 'e')) {
        check0 ^= 0x01;
    }
    reply.insert(reply.end(), {0x00, 0x00, check0, request[3], status});
    const std::size_t echo = reply.size();
    reply.insert(reply.end(), data.begin(), data.end());
    if (Faulty(BootFaultKind::DataEcho, 'e') && !data.empty()) {
        reply[echo] ^= 0x01;
    }
}

// Short replies end with the flag byte, some with the status byte before it.
void CSimBootArea::Trail(std::vector<std::uint8_t>& reply, bool withStatus, char at) {
    if (withStatus) {
        std::uint8_t status = m_config.status;
        if (Faulty(BootFaultKind::Integrity, at)) {
            status |= 0x40;
        }
        reply.push_back(status);
    }
    std::uint8_t flag = m_flag;
    if (Faulty(BootFaultKind::PacketFlag, at)) {
        flag |= 0x10;
    }
    reply.push_back(flag);
}
