#include "LineCandidates.h"

#include <algorithm>

#include "PrinterLine.h"

namespace {

// Speeds in the order a printer met in the field most likely runs: the factory speed, the
// classic defaults of receipt printers, then the rest from fast to slow.
constexpr std::array<unsigned, 10> kLikelySpeeds{115200, 9600, 57600, 38400, 19200,
                                                 4800,   2400, 1200,  28800, 14400};
// RTS/CTS is the factory choice; none is what a technician tries next.
constexpr std::array<FlowControl, 3> kLikelyFlows{FlowControl::RtsCts, FlowControl::None,
                                                  FlowControl::XonXoff};

struct Framing {
    Parity parity;
    StopBits stopBits;
};
// 8N1 first; the window never changes the framing, so the others are rare.
constexpr std::array<Framing, 6> kFramings{{{Parity::None, StopBits::One},
                                            {Parity::None, StopBits::Two},
                                            {Parity::Odd, StopBits::One},
                                            {Parity::Odd, StopBits::Two},
                                            {Parity::Even, StopBits::One},
                                            {Parity::Even, StopBits::Two}}};

}  // namespace

std::vector<SerialLineRequest> DetectionOrder() {
    std::vector<SerialLineRequest> order;
    for (const Framing& framing : kFramings) {
        for (unsigned speed : kLikelySpeeds) {
            for (FlowControl flow : kLikelyFlows) {
                SerialLineRequest line;
                line.baudRate = speed;
                line.parity = framing.parity;
                line.stopBits = framing.stopBits;
                line.flowControl = flow;
                order.push_back(line);
            }
        }
    }
    return order;
}

SerialLineRequest LineOfRecord(const PrinterSettings& record) {
    SerialLineRequest line;
    const std::size_t speedIndex = std::min<std::size_t>(record.portBaudIndex & 0x0F, 9);
    line.baudRate = kPrinterPortSpeeds[speedIndex];
    const int framing = record.portFraming <= 5 ? record.portFraming : 0;
    line.parity = ParityAt(framing);
    line.stopBits = StopBitsAt(framing);
    line.flowControl = FlowAt((record.portFlowControl >> 4) & 0x03);
    return line;
}

bool SameLineProgramming(const SerialLineRequest& a, const SerialLineRequest& b) {
    return MapSerialLine(a) == MapSerialLine(b);
}

std::string FlowName(FlowControl flowControl) {
    switch (flowControl) {
        case FlowControl::None:
            break;
        case FlowControl::RtsCts:
            return "rtscts";
        case FlowControl::XonXoff:
            return "xonxoff";
        case FlowControl::Both:
            return "both";
    }
    return "none";
}

std::string FramingName(const SerialLineRequest& line) {
    static constexpr std::array<char, 3> kParity{'N', 'O', 'E'};
    return std::string("8") + kParity[static_cast<std::size_t>(line.parity)] +
           (line.stopBits == StopBits::Two ? "2" : "1");
}
