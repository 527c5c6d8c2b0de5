#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "LineKinds.h"
#include "PrinterSettings.h"

// Under software flow control XON (17) and XOFF (19) are line signals, not data: the host's
// terminal layer takes them out of every reply, so a record holding one can no longer be read
// over that line. The store rules therefore never write them on such a line.

// Software flow control on the host's line, or on the printer's own port as the record sets it.
bool UsesSoftwareFlow(FlowControl lineFlowControl, const PrinterSettings& record);

struct FlowCharacterChange {
    int byteIndex;
    std::uint8_t wanted;
    std::uint8_t stored;
};

// Moves every byte of the option group that holds XON or XOFF to the nearest value its field can
// hold (the higher one of two as near, as the contrast does), marks it in the mask, and lists it.
std::vector<FlowCharacterChange> AvoidFlowCharacters(int group, PrinterSettings& record, int& mask);

// The field as the command line names it, and as the window tells the user about the change.
std::string FlowFieldName(int byteIndex);
std::string FlowCharacterMessage(const std::vector<FlowCharacterChange>& changes);
