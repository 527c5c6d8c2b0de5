#pragma once

#include <string>
#include <vector>

// The texts a test printed as "caption: TEXT" lines, one per line.
void PrintCaption(const std::string& text);

// Runs this test program again, in an environment whose only locale variables are the
// assignments given ("LANG=en_US.UTF-8 LC_ALL=..."), running just the named test (which may be
// disabled, so the ordinary run skips it). Returns the captions it printed; a failed child adds
// a line "child failed: ..." so that the comparison shows it.
std::vector<std::string> CaptionsInChild(const std::string& localeAssignments,
                                         const std::string& testName);
