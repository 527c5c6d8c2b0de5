#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

inline constexpr const char* kProgramMagic = "MyBIN";
inline constexpr const char* kFontMagic = "MyFNT";
inline constexpr int kMaxBlockLength = 256;
inline constexpr int kProgressStep = 265;

// A program (firmware) or font file as the loader keeps it for a load.
struct DataFile {
    std::string kind;   // "MyBIN" or "MyFNT"
    std::string model;  // the controller model a program is built for; unused for fonts
    std::uint16_t progressValue = 0;
    std::vector<std::uint8_t> payload;

    bool IsProgram() const { return kind == kProgramMagic; }
    // The upper end of the progress bar's range; it starts at 0 and moves in steps of 265.
    int ProgressRange() const;
};

enum class DataFileStatus {
    Ok,
    CannotOpen,  // the file cannot be read
    BadMagic,    // neither magic
    Malformed,   // the header or a program record is cut short or does not fit
};

struct DataFileResult {
    DataFileStatus status = DataFileStatus::CannotOpen;
    DataFile file;
};

// Checks everything a load relies on, so that a bad file is refused before the load starts:
// the model string ends within its 255 bytes, the header is complete, every program record
// is whole and at most 256 bytes long, and a font image is not empty.
DataFileResult ParseDataFile(std::span<const std::uint8_t> bytes);
DataFileResult ReadDataFile(const std::string& path);
