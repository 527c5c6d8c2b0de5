#include "SerialDcb_win32.h"

namespace {

constexpr WORD kXonLimit = 150;
constexpr WORD kXoffLimit = 150;

void ApplyHandshake(bool rtsCts, DCB& dcb) {
    dcb.fOutxCtsFlow = rtsCts ? 1 : 0;
    dcb.fOutxDsrFlow = rtsCts ? 1 : 0;
    dcb.fDtrControl = rtsCts ? DTR_CONTROL_HANDSHAKE : DTR_CONTROL_ENABLE;
    dcb.fRtsControl = rtsCts ? RTS_CONTROL_HANDSHAKE : RTS_CONTROL_ENABLE;
}

}  // namespace

void ApplySerialLine(const SerialLineSettings& line, DCB& dcb) {
    dcb.DCBlength = sizeof(DCB);
    dcb.BaudRate = line.baudRate;
    dcb.ByteSize = static_cast<BYTE>(line.dataBits);
    dcb.Parity = !line.parityEnabled ? NOPARITY : (line.parityOdd ? ODDPARITY : EVENPARITY);
    dcb.StopBits = line.twoStopBits ? TWOSTOPBITS : ONESTOPBIT;
    dcb.fBinary = 1;
    dcb.fParity = line.parityEnabled ? 1 : 0;
    dcb.fDsrSensitivity = 0;
    dcb.fTXContinueOnXoff = 0;
    dcb.fErrorChar = 1;
    dcb.fNull = 0;
    dcb.fAbortOnError = 1;
    dcb.XonLim = kXonLimit;
    dcb.XoffLim = kXoffLimit;
    dcb.XonChar = static_cast<char>(line.xonChar);
    dcb.XoffChar = static_cast<char>(line.xoffChar);
    ApplyHandshake(line.rtsCts, dcb);
    dcb.fOutX = line.xonXoff ? 1 : 0;
    dcb.fInX = line.xonXoff ? 1 : 0;
}
