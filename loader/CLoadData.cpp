#include "CLoadData.h"

#include <algorithm>

#include "Crc16Arc.h"

bool CLoadData::TakeNextRecord(LoadBlock& block) {
    const auto& payload = m_file.payload;
    if (payload.size() - std::min(m_taken, payload.size()) < block.header.size()) {
        return false;
    }
    std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(m_taken), block.header.size(),
                block.header.begin());
    m_taken += block.header.size();
    // The file was checked when it was read; the bounds here only keep a bad one harmless.
    const std::size_t wanted = block.header[3] + 256u * block.header[4];
    const std::size_t length = std::min({wanted, block.data.size(), payload.size() - m_taken});
    std::copy_n(payload.begin() + static_cast<std::ptrdiff_t>(m_taken), length, block.data.begin());
    block.length = static_cast<int>(length);
    m_taken += length;
    m_progress = m_taken;
    return true;
}

void CLoadData::CutFontBlock(LoadBlock& block, bool first) {
    std::uint32_t address = block.Address();
    const std::size_t toBoundary = (address / 256 + 1) * 256 - address;
    const std::size_t left = m_file.payload.size() - std::min(m_taken, m_file.payload.size());
    const std::size_t length = std::min(first ? toBoundary : std::size_t{kMaxBlockLength}, left);
    std::copy_n(m_file.payload.begin() + static_cast<std::ptrdiff_t>(m_taken), length,
                block.data.begin());
    m_taken += length;
    m_progress = m_taken;
    block.length = static_cast<int>(length);
    const std::uint16_t crc = Crc16Arc(std::span(block.data.data(), length));
    block.header[3] = static_cast<std::uint8_t>(length & 0xFF);
    block.header[4] = static_cast<std::uint8_t>(length >> 8);
    block.header[5] = static_cast<std::uint8_t>(crc & 0xFF);
    block.header[6] = static_cast<std::uint8_t>(crc >> 8);
    address += static_cast<std::uint32_t>(length);
    block.header[0] = static_cast<std::uint8_t>(address & 0xFF);
    block.header[1] = static_cast<std::uint8_t>((address >> 8) & 0xFF);
    block.header[2] = static_cast<std::uint8_t>((address >> 16) & 0xFF);
}
