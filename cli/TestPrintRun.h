#pragma once

#include <string>

#include "ChannelConfig.h"

// What a test print sends: the sample's text, the date it prints, and a picture file to draw
// into instead of printing (empty: print).
struct TestPrintJob {
    std::string samplePath;
    std::string sample;
    std::string date;
    std::string preview;
};

// Reads the printer's record, composes the sample with it and prints it (or draws it), as
// "tq20 test-print" does for each printer. The settings commands' exit code.
int PrintTestReceipt(const ChannelConfig& line, const TestPrintJob& job);
