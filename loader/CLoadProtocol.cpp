#include "CLoadProtocol.h"

#include <algorithm>

namespace {

constexpr std::uint8_t RS = 0x1E;  // every request and reply of the block protocol starts so
const std::vector<std::uint8_t> kBootRequest{0x1B, 'B', 'O', 'O', 'T'};
constexpr std::uint8_t kPacketErrorBits = 0x50;     // flag bits 4 and 6
constexpr std::uint8_t kIntegrityErrorBits = 0xC0;  // status bits 6 and 7
constexpr std::uint8_t kLastBlockBits = 0x82;       // flag bits 1 and 7 on the last block-done
constexpr std::uint8_t kFontLoadBit = 0x04;         // flag bit 2 on a font's first open-block
constexpr unsigned kBankBit = 0x01;                 // flag bit 0: the 64 KiB bank of the address
constexpr std::size_t kModelTrailer = 5;            // RS 'S' 'M' status flag

}  // namespace

CLoadProtocol::Step CLoadProtocol::StartProgramLoad() {
    Step step;
    if (!m_data.TakeNextRecord(m_block)) {
        step.messages.push_back(LM_NO_DATA);
        return step;
    }
    step = Request(1, kBootRequest, 1);
    step.recordTaken = true;
    return step;
}

CLoadProtocol::Step CLoadProtocol::StartFontLoad() {
    m_block = LoadBlock{};
    m_blocksSent = 0;
    return Request(8, kBootRequest, 1);
}

CLoadProtocol::Step CLoadProtocol::OnBytes(std::span<const std::uint8_t> bytes) {
    if (m_state == 0 || bytes.empty()) {
        return {};
    }
    m_rx.insert(m_rx.end(), bytes.begin(), bytes.end());
    return StepState();
}

CLoadProtocol::Step CLoadProtocol::OnSilence() {
    return m_state == 0 ? Step{} : Fail(LM_TIMEOUT);
}

CLoadProtocol::Step CLoadProtocol::OnLineLost() {
    return m_state == 0 ? Step{} : Fail(LM_LINE_LOST);
}

CLoadProtocol::Step CLoadProtocol::OnWriteFailed(Step step) {
    std::erase(step.messages, LM_DONE);
    return Fail(LM_LINE_LOST, std::move(step));
}

bool CLoadProtocol::Stop() {
    if (m_state == 0) {
        return false;
    }
    m_state = 0;
    m_rx.clear();
    return true;
}

CLoadProtocol::Step CLoadProtocol::StepState() {
    if (m_state == 1 || m_state == 8) {
        return OnControllerCode();
    }
    if (m_state == 2 || m_state == 9) {
        return OnModelReply();
    }
    if (m_rx.size() < static_cast<std::size_t>(m_expected)) {
        return Wait();
    }
    switch (m_state) {
        case 3:
        case 11:
            return OnOpenBlockReply();
        case 4:
        case 12:
            return OnAddressReply();
        case 5:
        case 13:
            return OnLengthReply();
        case 6:
        case 14:
            return OnDataReply();
        default:
            return OnBlockDoneReply();
    }
}

// The controller names itself with one byte; anything longer is not its answer.
CLoadProtocol::Step CLoadProtocol::OnControllerCode() {
    if (m_rx.size() != 1) {
        return Fail(LM_BAD_BOOT_REPLY);
    }
    const std::uint8_t code = m_rx[0];
    if (code != 0xA0 && code != 0xA1) {
        return Fail(LM_BAD_CONTROLLER);
    }
    const std::uint8_t answer = code == 0xA0 ? 0x0A : 0x1A;
    return Request(m_state == 1 ? 2 : 9, {answer}, 0);
}

CLoadProtocol::Step CLoadProtocol::OnModelReply() {
    const auto zero = std::find(m_rx.begin(), m_rx.end(), std::uint8_t{0});
    if (zero == m_rx.end() || static_cast<std::size_t>(m_rx.end() - zero - 1) < kModelTrailer) {
        return Wait();
    }
    if (static_cast<std::size_t>(m_rx.end() - zero - 1) > kModelTrailer) {
        return Fail(LM_BAD_COMMAND);
    }
    const std::size_t n = m_rx.size();
    m_status = m_rx[n - 2];
    m_flag = m_rx[n - 1];
    m_printerModel.assign(m_rx.begin(), zero);
    if (m_state == 2 && m_data.Model() != m_printerModel) {
        return Fail(LM_MODEL_MISMATCH);
    }
    if (m_state == 9) {
        m_data.SetModel(m_printerModel);
    }
    const Step status = Notify(LM_STATUS);
    if (FlagFaulty()) {
        return Fail(LM_BAD_PACKET, status);
    }
    if (StatusFaulty()) {
        return Fail(LM_INTEGRITY, status);
    }
    if (!LettersAt(n - kModelTrailer, {RS, 'S', 'M'})) {
        return Fail(LM_BAD_COMMAND, status);
    }
    if (m_state == 9) {
        m_flag |= kFontLoadBit;
    }
    Step step = OpenBlock(m_state == 2 ? 3 : 11);
    step.messages.insert(step.messages.begin(), LM_STATUS);
    return step;
}

CLoadProtocol::Step CLoadProtocol::OnOpenBlockReply() {
    m_flag = m_rx.back();
    if (FlagFaulty()) {
        return Fail(LM_BAD_PACKET);
    }
    if (!LettersAt(0, {RS, 'C', 'A'})) {
        return Fail(LM_BAD_COMMAND);
    }
    // Bit 0 names the bank: a font that runs on from bank 0 into bank 1 needs it set.
    m_flag =
        static_cast<std::uint8_t>((m_flag & ~kBankBit) | (m_block.header[2] == 1 ? kBankBit : 0));
    return Request(m_state == 3 ? 4 : 12, {RS, 'a', m_block.header[0], m_block.header[1], m_flag},
                   5);
}

// A font's first address reply tells where the font goes: the printer chooses the address,
// and bit 0 of its flag byte chooses the 64 KiB bank.
CLoadProtocol::Step CLoadProtocol::OnAddressReply() {
    m_flag = m_rx.back();
    if (FlagFaulty()) {
        return Fail(LM_BAD_PACKET);
    }
    const bool printerChooses = m_state == 12 && m_blocksSent == 0;
    if (printerChooses) {
        m_block.header[0] = m_rx[2];
        m_block.header[1] = m_rx[3];
        m_block.header[2] = m_flag & kBankBit;
    } else if (m_rx[2] != m_block.header[0] || m_rx[3] != m_block.header[1]) {
        return Fail(LM_BAD_ADDRESS);
    }
    if (!LettersAt(0, {RS, 'A'})) {
        return Fail(LM_BAD_COMMAND);
    }
    // Refused before its first block: a font that would run past the top of the memory.
    if (printerChooses && m_block.Address() + m_data.PayloadSize() > kAddressSpace) {
        return Fail(LM_NO_ROOM);
    }
    if (m_state == 12) {
        m_data.CutFontBlock(m_block, m_blocksSent == 0);
        ++m_blocksSent;
    }
    return Request(m_state == 4 ? 5 : 13, {RS, 'd', m_block.header[3], m_block.header[4], m_flag},
                   5);
}

CLoadProtocol::Step CLoadProtocol::OnLengthReply() {
    m_flag = m_rx.back();
    if (FlagFaulty()) {
        return Fail(LM_BAD_PACKET);
    }
    if (m_rx[2] != m_block.header[3] || m_rx[3] != m_block.header[4]) {
        return Fail(LM_BAD_SIZE);
    }
    if (!LettersAt(0, {RS, 'D'})) {
        return Fail(LM_BAD_COMMAND);
    }
    std::vector<std::uint8_t> request{RS, 'e', m_block.header[5], m_block.header[6],
                                      m_block.header[7]};
    request.insert(request.end(), m_block.data.begin(), m_block.data.begin() + m_block.length);
    return Request(m_state == 5 ? 6 : 14, std::move(request), m_block.length + 5);
}

CLoadProtocol::Step CLoadProtocol::OnDataReply() {
    m_status = m_rx[4];
    if (StatusFaulty()) {
        return Fail(LM_INTEGRITY);
    }
    if (m_rx[2] != m_block.header[5] || m_rx[3] != m_block.header[6]) {
        return Fail(LM_BAD_BLOCK_CRC);
    }
    if (!std::equal(m_block.data.begin(), m_block.data.begin() + m_block.length,
                    m_rx.begin() + 5)) {
        return Fail(LM_BAD_ECHO);
    }
    if (m_state == 6) {
        if (m_data.TakeNextRecord(m_block)) {
            Step step = BlockDone(7, {});
            step.recordTaken = true;
            return step;
        }
        return BlockDone(0, {});
    }
    const Step progress = Notify(LM_STEP);
    return BlockDone(m_data.PayloadEmpty() ? 0 : 10, progress);
}

// State 0 marks the last block: its block-done carries bits 1 and 7 and its reply is not
// awaited.
CLoadProtocol::Step CLoadProtocol::BlockDone(int nextState, Step step) {
    if (nextState == 0) {
        m_flag |= kLastBlockBits;
    }
    Step request = Request(nextState, {RS, 'w', 'o', 'k', m_flag}, 5);
    request.messages = std::move(step.messages);
    request.recordTaken = step.recordTaken;
    if (nextState == 0) {
        request.awaitReply = false;
        request.messages.push_back(LM_DONE);
    }
    return request;
}

CLoadProtocol::Step CLoadProtocol::OnBlockDoneReply() {
    const std::size_t n = m_rx.size();
    m_status = m_rx[n - 2];
    m_flag = m_rx[n - 1];
    if (FlagFaulty()) {
        return Fail(LM_BAD_PACKET);
    }
    if (StatusFaulty()) {
        return Fail(LM_INTEGRITY);
    }
    if (!LettersAt(n - 5, {RS, 'S', 'M'})) {
        return Fail(LM_BAD_COMMAND);
    }
    return OpenBlock(m_state == 7 ? 3 : 11);
}

CLoadProtocol::Step CLoadProtocol::OpenBlock(int state) {
    return Request(state, {RS, 'r', 'S', 0x01, m_flag}, 5);
}

CLoadProtocol::Step CLoadProtocol::Request(int state, std::vector<std::uint8_t> bytes,
                                           int expected) {
    m_state = state;
    m_rx.clear();
    m_expected = expected;
    Step step = Wait();
    step.request = std::move(bytes);
    return step;
}

CLoadProtocol::Step CLoadProtocol::Wait() {
    Step step;
    step.awaitReply = true;
    return step;
}

CLoadProtocol::Step CLoadProtocol::Notify(LoadMessage message) {
    Step step;
    step.messages.push_back(message);
    return step;
}

// An ending leaves the link idle at once, so that late bytes cannot end the load a second time.
CLoadProtocol::Step CLoadProtocol::Fail(LoadMessage message, Step step) {
    m_state = 0;
    m_rx.clear();
    step.request.clear();
    step.awaitReply = false;
    step.messages.push_back(message);
    return step;
}

bool CLoadProtocol::FlagFaulty() const {
    return (m_flag & kPacketErrorBits) != 0;
}

bool CLoadProtocol::StatusFaulty() const {
    return (m_status & kIntegrityErrorBits) != 0;
}

bool CLoadProtocol::LettersAt(std::size_t at, std::initializer_list<std::uint8_t> letters) const {
    return m_rx.size() >= at + letters.size() &&
           std::equal(letters.begin(), letters.end(), m_rx.begin() + static_cast<long>(at));
}
