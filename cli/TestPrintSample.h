#pragma once

#include <string>

// The sample text of a test print: the file named, or the built-in Russian one when none is.
// False, after printing why, when the file cannot be read or a markup line of it cannot be
// printed; checked before any printer is touched.
bool ReadTestPrintSample(const std::string& path, std::string& sample);
