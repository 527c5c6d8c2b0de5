#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr const char* kProgramMagic = "MyBIN";
inline constexpr const char* kFontMagic = "MyFNT";
inline constexpr int kMaxBlockLength = 256;
// The printer's memory as the block protocol reaches it: the address request carries 16 address
// bits and the flag byte's bit 0 chooses one of two 64 KiB banks.
inline constexpr std::uint32_t kAddressSpace = 0x20000;
// The largest data file read: the longest header (magic, 254-character model and its zero,
// progress value) and the whole address space even in records of one byte each (8 header
// bytes per data byte). 1 179 910 bytes; anything longer cannot fit the printer.
inline constexpr std::size_t kMaxDataFileSize = 5 + 255 + 2 + 9 * std::size_t{kAddressSpace};

// A program (firmware) or font file as the loader keeps it for a load.
struct DataFile {
    std::string kind;   // "MyBIN" or "MyFNT"
    std::string model;  // the controller model a program is built for; unused for fonts
    std::uint16_t progressValue = 0;  // read, but the progress follows the data actually taken
    std::vector<std::uint8_t> payload;

    bool IsProgram() const { return kind == kProgramMagic; }
};

enum class DataFileStatus {
    Ok,
    CannotOpen,  // the file cannot be read
    BadMagic,    // neither magic
    Malformed,   // the header or a program record is cut short, or the data do not fit the
                 // printer's address space
};

struct DataFileResult {
    DataFileStatus status = DataFileStatus::CannotOpen;
    DataFile file;
};

// Checks everything a load relies on, so that a bad file is refused before the load starts:
// the model string ends within its 255 bytes, the header is complete, every program record
// is whole, at most 256 bytes long and lies within the address space, and a font image is not
// empty and not larger than the address space.
DataFileResult ParseDataFile(std::span<const std::uint8_t> bytes);
// Reads a regular file of at most kMaxDataFileSize bytes and parses it: a file that cannot be
// read is CannotOpen, one that is too long Malformed. Never throws.
DataFileResult ReadDataFile(const std::string& path) noexcept;
