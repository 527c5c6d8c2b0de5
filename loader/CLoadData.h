#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <string>

#include "DataFile.h"

// The block that goes to the printer next, laid out as a program record's header.
struct LoadBlock {
    std::array<std::uint8_t, 8> header{};  // A0 A1 A2, N0 N1, C0 C1, X
    int length = 0;
    std::array<std::uint8_t, kMaxBlockLength> data{};

    std::uint32_t Address() const { return header[0] | header[1] << 8 | header[2] << 16; }
};

// The data of one load: the file's payload, consumed from the front block by block.
class CLoadData {
public:
    explicit CLoadData(DataFile file) : m_file(std::move(file)) {}

    const DataFile& File() const { return m_file; }
    // Program loads: the file's model; font loads: the model the printer reported.
    const std::string& Model() const { return m_file.model; }
    void SetModel(std::string model) { m_file.model = std::move(model); }

    bool PayloadEmpty() const { return m_taken >= m_file.payload.size(); }
    // How far the load has come, in payload bytes (record headers included) taken for sending,
    // out of PayloadSize(). Safe to ask from any thread while the load runs.
    std::size_t Taken() const { return m_progress.load(std::memory_order_relaxed); }
    std::size_t PayloadSize() const { return m_file.payload.size(); }
    // The next program record into the block; false when none is left.
    bool TakeNextRecord(LoadBlock& block);
    // The next font block at the block's address: the first one fills up to the next 256-byte
    // boundary, every later one is a whole page, all of them at most what the payload holds.
    void CutFontBlock(LoadBlock& block, bool first);

private:
    DataFile m_file;
    std::size_t m_taken = 0;
    std::atomic<std::size_t> m_progress{0};
};
