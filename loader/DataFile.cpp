#include "DataFile.h"

#include <algorithm>
#include <new>

#include "FileBytes.h"

namespace {

constexpr std::size_t kMagicLength = 5;
constexpr std::size_t kModelArea = 255;
constexpr std::size_t kRecordHeader = 8;

bool RecordsAreWhole(std::span<const std::uint8_t> payload) {
    std::size_t at = 0;
    while (at < payload.size()) {
        if (payload.size() - at < kRecordHeader) {
            return false;
        }
        const std::size_t length = payload[at + 3] + 256u * payload[at + 4];
        if (length > kMaxBlockLength || payload.size() - at - kRecordHeader < length) {
            return false;
        }
        // Address byte 2 reaches the printer only as the bank bit: 0 or 1.
        const std::size_t address = payload[at] | payload[at + 1] << 8 | payload[at + 2] << 16;
        if (address + length > kAddressSpace) {
            return false;
        }
        at += kRecordHeader + length;
    }
    return true;
}

}  // namespace

DataFileResult ParseDataFile(std::span<const std::uint8_t> bytes) {
    DataFileResult result;
    result.status = DataFileStatus::BadMagic;
    if (bytes.size() < kMagicLength) {
        return result;
    }
    const std::string magic(bytes.begin(), bytes.begin() + kMagicLength);
    if (magic != kProgramMagic && magic != kFontMagic) {
        return result;
    }
    result.status = DataFileStatus::Malformed;
    DataFile& file = result.file;
    file.kind = magic;
    const auto area =
        bytes.subspan(kMagicLength, std::min(kModelArea, bytes.size() - kMagicLength));
    const auto zero = std::find(area.begin(), area.end(), std::uint8_t{0});
    if (zero == area.end()) {
        return result;
    }
    const std::size_t modelLength = static_cast<std::size_t>(zero - area.begin());
    const std::size_t header = modelLength + (file.IsProgram() ? 8 : 6);
    if (bytes.size() < header) {
        return result;
    }
    if (file.IsProgram()) {
        file.model.assign(area.begin(), zero);
        file.progressValue =
            static_cast<std::uint16_t>(bytes[header - 2] * 256 + bytes[header - 1]);
    }
    file.payload.assign(bytes.begin() + static_cast<std::ptrdiff_t>(header), bytes.end());
    const bool usable = file.IsProgram()
                            ? RecordsAreWhole(file.payload)
                            : !file.payload.empty() && file.payload.size() <= kAddressSpace;
    if (usable) {
        result.status = DataFileStatus::Ok;
    }
    return result;
}

DataFileResult ReadDataFile(const std::string& path) noexcept {
    try {
        std::vector<std::uint8_t> bytes;
        const FileReadStatus read = ReadRegularFile(path, kMaxDataFileSize, bytes);
        if (read == FileReadStatus::CannotRead) {
            return {};
        }
        if (read == FileReadStatus::TooLarge) {
            return {DataFileStatus::Malformed, {}};
        }
        return ParseDataFile(bytes);
    } catch (const std::bad_alloc&) {
        return {};
    }
}
