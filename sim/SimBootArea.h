#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <utility>
#include <vector>

// Ways the boot area can be told to misbehave, each at one kind of request: 'B' the boot
// request, 'M' the controller answer (model reply), or the letter of a block request
// ('r' open-block, 'a' address, 'd' length, 'e' data, 'w' block-done).
enum class BootFaultKind {
    None,
    Silence,         // no reply
    ControllerCode,  // 0xA2 instead of the controller's code
    Model,           // another model string
    PacketFlag,      // flag bit 4 set
    Letters,         // a wrong letter in the reply
    AddressEcho,     // the address echo differs
    SizeEcho,        // the length echo differs
    Integrity,       // status bit 6 set
    CheckEcho,       // the check-value echo differs
    DataEcho,        // the data echo differs
};

struct BootFault {
    BootFaultKind kind = BootFaultKind::None;
    char at = 0;
};

// What a load writes, known from its first open-block request.
enum class SimLoadKind { None, Program, Font };

// The printer controller's boot area: the block-loading conversation and the memory it writes.
class CSimBootArea {
public:
    static constexpr std::size_t kMemorySize = 0x20000;  // two 64 KiB banks

    struct Config {
        std::uint8_t controllerCode = 0xA0;
        std::string model = "TQ-20 A0";
        std::uint8_t status = 0x00;
        std::uint8_t flag = 0x01;
        std::uint32_t fontStart = 0x010000;  // bank 1, page aligned
    };

    CSimBootArea();

    bool Active() const { return m_active; }
    // The boot request: the controller names itself.
    void Begin(std::vector<std::uint8_t>& reply);
    // Takes bytes of the conversation, adding every complete request to requests; returns how
    // many it used (it stops when the boot area is left: after the last block-done request, or
    // at a request of the printer's own while its program is whole, see HandBack).
    std::size_t Feed(std::span<const std::uint8_t> bytes, std::vector<std::uint8_t>& reply,
                     std::vector<std::vector<std::uint8_t>>& requests);
    // The start of the request that made the boot area leave, held from this or earlier feeds.
    std::vector<std::uint8_t> HandBack() { return std::exchange(m_handedBack, {}); }
    // The kind of the load that ran to its end since the last call, if one did.
    SimLoadKind TakeFinishedLoad() { return std::exchange(m_finished, SimLoadKind::None); }
    // A line that goes away takes any request half heard with it.
    void LineLost() { m_pending.clear(); }
    // A program load wrote a block and has not run to its end since: the printer has no
    // working program and stays in the boot area.
    bool ProgramBroken() const { return m_programBroken; }
    // True once the n-th block of the first program load has been answered, until the next.
    bool AtBlockOfFirstProgramLoad(std::size_t n) const {
        return m_programLoads == 1 && m_load == SimLoadKind::Program && m_loadBlocks == n;
    }

    Config& Settings() { return m_config; }
    void SetFault(const BootFault& fault) { m_fault = fault; }
    const std::vector<std::uint8_t>& Memory() const { return m_memory; }
    // Addresses of the blocks written, in order.
    const std::vector<std::uint32_t>& BlockAddresses() const { return m_blockAddresses; }

private:
    void Answer(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& reply);
    void AnswerModel(std::vector<std::uint8_t>& reply);
    void AnswerAddress(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& reply);
    void AnswerData(std::span<const std::uint8_t> request, std::vector<std::uint8_t>& reply);
    void OpenBlock(std::uint8_t flag);
    void FinishLoad();
    void LeaveOrDrop();
    void Trail(std::vector<std::uint8_t>& reply, bool withStatus, char at);
    bool Faulty(BootFaultKind kind, char at) const;
    std::size_t RequestLength(std::uint8_t letter) const;

    Config m_config;
    BootFault m_fault;
    bool m_active = false;
    bool m_awaitingAnswer = false;
    bool m_fontStartPending = false;
    std::uint8_t m_flag = 0;
    std::uint32_t m_address = 0;
    std::size_t m_length = 0;
    std::vector<std::uint8_t> m_pending;
    std::vector<std::uint8_t> m_memory;
    std::vector<std::uint32_t> m_blockAddresses;
    SimLoadKind m_load = SimLoadKind::None;
    SimLoadKind m_finished = SimLoadKind::None;
    std::size_t m_loadBlocks = 0;
    std::size_t m_programLoads = 0;
    bool m_programBroken = false;
    std::vector<std::uint8_t> m_handedBack;
};
