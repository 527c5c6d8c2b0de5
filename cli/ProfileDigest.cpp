#include "ProfileDigest.h"

#include <cstdio>

#include "DataFile.h"
#include "SettingsFile.h"
#include "Sha256.h"

std::optional<std::string> DigestOfFiles(const std::vector<std::string>& paths,
                                         std::string& error) {
    std::string all;
    for (const std::string& path : paths) {
        const auto bytes = ReadSmallFile(path, kMaxDataFileSize, error);
        if (!bytes) {
            return std::nullopt;
        }
        all += std::to_string(bytes->size()) + ":" + *bytes;
    }
    const auto digest =
        Sha256(std::span(reinterpret_cast<const std::uint8_t*>(all.data()), all.size()));
    std::string hex;
    for (const std::uint8_t byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", byte);
        hex += pair;
    }
    return hex;
}
