#include "SerialLineSettings.h"

SerialLineSettings MapSerialLine(const SerialLineRequest& request) {
    SerialLineSettings line;
    line.baudRate = request.baudRate;
    line.parityEnabled = request.parity != Parity::None;
    line.parityOdd = request.parity == Parity::Odd;
    line.twoStopBits = request.stopBits == StopBits::Two;
    line.rtsCts = request.flowControl == FlowControl::RtsCts;
    // The combined choice programs software flow control only, exactly as Xon/Xoff does.
    line.xonXoff =
        request.flowControl == FlowControl::XonXoff || request.flowControl == FlowControl::Both;
    return line;
}
