#include "LineCandidates.h"

#include <algorithm>

namespace {

// Speeds in the order a printer met in the field most likely runs: the factory speed, the
// classic defaults of receipt printers, then the rest from fast to slow.
constexpr std::array<unsigned, 10> kLikelySpeeds{115200, 9600, 57600, 38400, 19200,
                                                 4800,   2400, 1200,  28800, 14400};
// RTS/CTS is the factory choice; none is what a technician tries next.
constexpr std::array<int, 3> kLikelyFlows{1, 0, 2};

struct Framing {
    int parity;
    int stopBits;
};
// 8N1 first; the window never changes the framing, so the others are rare.
constexpr std::array<Framing, 6> kFramings{{{0, 0}, {0, 2}, {1, 0}, {1, 2}, {2, 0}, {2, 2}}};

}  // namespace

std::vector<SerialLineRequest> DetectionOrder() {
    std::vector<SerialLineRequest> order;
    for (const Framing& framing : kFramings) {
        for (unsigned speed : kLikelySpeeds) {
            for (int flow : kLikelyFlows) {
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
    line.parity = framing / 2;
    line.stopBits = framing % 2 == 1 ? 2 : 0;
    line.flowControl = (record.portFlowControl >> 4) & 0x03;
    return line;
}

bool SameLineProgramming(const SerialLineRequest& a, const SerialLineRequest& b) {
    return MapSerialLine(a) == MapSerialLine(b);
}

std::string FlowName(int flowControl) {
    static constexpr std::array<const char*, 4> kNames{"none", "rtscts", "xonxoff", "both"};
    return flowControl >= 0 && flowControl <= 3 ? kNames[static_cast<std::size_t>(flowControl)]
                                                : "none";
}

std::string FramingName(const SerialLineRequest& line) {
    static constexpr std::array<char, 3> kParity{'N', 'O', 'E'};
    const int parity = std::clamp(line.parity, 0, 2);
    return std::string("8") + kParity[static_cast<std::size_t>(parity)] +
           (line.stopBits == 2 ? "2" : "1");
}
