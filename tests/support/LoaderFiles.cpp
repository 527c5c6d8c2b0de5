#include "LoaderFiles.h"

#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>

namespace {

// The header is put together as text and copied once: growing a vector from a short
// initializer list trips GCC 12's false -Warray-bounds and -Wstringop-overflow at -O3.
std::vector<std::uint8_t> FileHeader(std::string_view magic, const std::string& model) {
    std::string header(magic);
    header += model;
    header.push_back('\0');
    return {header.begin(), header.end()};
}

}  // namespace

std::vector<std::uint8_t> ProgramFileBytes(const std::string& model, std::uint16_t progress,
                                           const std::vector<ProgramRecord>& records) {
    std::vector<std::uint8_t> bytes = FileHeader("MyBIN", model);
    bytes.push_back(static_cast<std::uint8_t>(progress >> 8));
    bytes.push_back(static_cast<std::uint8_t>(progress & 0xFF));
    for (const ProgramRecord& record : records) {
        const auto length = record.data.size();
        bytes.insert(bytes.end(), {static_cast<std::uint8_t>(record.address & 0xFF),
                                   static_cast<std::uint8_t>((record.address >> 8) & 0xFF),
                                   static_cast<std::uint8_t>((record.address >> 16) & 0xFF),
                                   static_cast<std::uint8_t>(length & 0xFF),
                                   static_cast<std::uint8_t>(length >> 8),
                                   static_cast<std::uint8_t>(record.check & 0xFF),
                                   static_cast<std::uint8_t>(record.check >> 8), record.extra});
        bytes.insert(bytes.end(), record.data.begin(), record.data.end());
    }
    return bytes;
}

std::vector<std::uint8_t> FontFileBytes(const std::string& model,
                                        const std::vector<std::uint8_t>& image) {
    std::vector<std::uint8_t> bytes = FileHeader("MyFNT", model);
    bytes.insert(bytes.end(), image.begin(), image.end());
    return bytes;
}

std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(count);
    std::uint32_t state = seed * 2654435761u + 1;
    for (auto& b : bytes) {
        state = state * 1103515245u + 12345u;
        b = static_cast<std::uint8_t>(state >> 16);
    }
    return bytes;
}

// A folder of its own, so that tests running side by side never share a file; std::filesystem
// keeps it portable to the Windows build.
std::string FreshFolder(const std::string& prefix) {
    namespace fs = std::filesystem;
    std::random_device random;
    for (int attempt = 0; attempt < 100; ++attempt) {
        const fs::path dir = fs::temp_directory_path() / (prefix + std::to_string(random()));
        if (fs::create_directory(dir)) {
            return dir.string();
        }
    }
    throw std::runtime_error("no temporary folder");
}

TempFile::TempFile(const std::string& name, const std::vector<std::uint8_t>& bytes)
    : m_dir(FreshFolder("tq20-test-")) {
    m_path = (std::filesystem::path(m_dir) / name).string();
    std::ofstream(m_path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
}

TempFile::~TempFile() {
    std::filesystem::remove_all(m_dir);
}

ScratchFolder::ScratchFolder() : m_dir(FreshFolder("tq20-scratch-")) {}

ScratchFolder::~ScratchFolder() {
    std::filesystem::remove_all(m_dir);
}

std::string ScratchFolder::SparseFile(const std::string& name,
                                      const std::vector<std::uint8_t>& header,
                                      std::uint64_t length) const {
    const std::string path = m_dir + "/" + name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(header.data()), static_cast<long>(header.size()));
    std::filesystem::resize_file(path, length);
    return path;
}
