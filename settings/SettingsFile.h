#pragma once

#include <cstddef>
#include <optional>
#include <string>

// Replaces the file at path with text so that it is either the old file or the whole new one:
// a temporary file in the same folder, written, synced and renamed over the target. A target
// that exists and is not a regular file (a device, a pipe, a folder) is refused, never
// replaced. False with a sentence in error.
bool WriteFileSafely(const std::string& path, const std::string& text, std::string& error);

// The content of a regular file of at most limit bytes, opened without blocking on a pipe.
std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit,
                                         std::string& error);

// Appends the text to a regular file (made when missing) and syncs it, and a new file's folder
// entry, to the disk; false with a sentence in error when it is not all written and synced (a
// full disk, a device, no permission).
bool AppendSynced(const std::string& path, const std::string& text, std::string& error);
// Whether a regular file is there at the path.
bool RegularFileExists(const std::string& path);
