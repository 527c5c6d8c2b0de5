#pragma once

#include <optional>
#include <string>
#include <vector>

// The digest a record names its profile by: SHA-256, in hex, of the files one after another,
// each with its length in front, so that a change to the profile or to any file it names makes
// another digest. Empty, with the reason, when a file cannot be read.
std::optional<std::string> DigestOfFiles(const std::vector<std::string>& paths, std::string& error);
