#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum class FileReadStatus {
    Ok,
    CannotRead,  // missing, not a regular file, or a read error
    TooLarge,    // longer than the limit
};

// Reads a regular file of at most limit bytes. Opening never waits (a FIFO without a writer, a
// device), anything but a regular file is refused, and at most limit + 1 bytes are ever read,
// so a file that grows while it is read cannot exhaust memory.
FileReadStatus ReadRegularFile(const std::string& path, std::size_t limit,
                               std::vector<std::uint8_t>& bytes);
