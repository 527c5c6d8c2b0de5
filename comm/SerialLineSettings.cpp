#include "SerialLineSettings.h"

SerialLineSettings MapSerialLine(const SerialLineRequest& request) {
    SerialLineSettings line;
    line.baudRate = request.baudRate;
    line.dataBits = request.byteSizeCode + 4;
    line.parityEnabled = request.parity != 0;
    line.parityOdd = request.parity == 1;
    line.twoStopBits = request.stopBits == 2;
    switch (request.flowControl) {
        case 0:
            line.rtsCts = false;
            break;
        case 1:
            line.rtsCts = true;
            break;
        case 2:
        case 3:
            // The combined choice programs software flow control only, exactly as Xon/Xoff does.
            line.rtsCts = false;
            line.xonXoff = true;
            break;
        default:
            break;
    }
    return line;
}
