#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds program and font files as their producers write them.
struct ProgramRecord {
    std::uint32_t address = 0;  // bytes 0 to 2
    std::vector<std::uint8_t> data;
    std::uint16_t check = 0;
    std::uint8_t extra = 0;
};

std::vector<std::uint8_t> ProgramFileBytes(const std::string& model, std::uint16_t progress,
                                           const std::vector<ProgramRecord>& records);
std::vector<std::uint8_t> FontFileBytes(const std::string& model,
                                        const std::vector<std::uint8_t>& image);
std::vector<std::uint8_t> Pattern(std::size_t count, std::uint8_t seed);

// A new, empty folder in the system's temporary folder, named with the prefix.
std::string FreshFolder(const std::string& prefix);

// A file in a fresh temporary folder, removed with the object.
class TempFile {
public:
    TempFile(const std::string& name, const std::vector<std::uint8_t>& bytes);
    ~TempFile();
    const std::string& Path() const { return m_path; }

private:
    std::string m_dir;
    std::string m_path;
};

// A fresh temporary folder for files that are not plain data: a FIFO, a sparse giant. Removed
// with the object.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    const std::string& Path() const { return m_dir; }
#ifndef _WIN32
    // A FIFO that nobody writes to.
    std::string Fifo(const std::string& name) const;
#endif
    // A file of the given length that holds the header bytes and then a hole.
    std::string SparseFile(const std::string& name, const std::vector<std::uint8_t>& header,
                           std::uint64_t length) const;

private:
    std::string m_dir;
};
