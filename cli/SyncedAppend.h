#pragma once

#include <string>

// Appends the text to a regular file (made when missing) and syncs it to the disk; false with
// the reason when it is not all written and synced (a full disk, a device, no permission).
bool AppendSynced(const std::string& path, const std::string& text, std::string& error);
// Whether a regular file is there at the path.
bool RegularFileExists(const std::string& path);
