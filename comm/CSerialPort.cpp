// What the serial port does alike on every system; the system calls are in CSerialPort_posix.cpp
// and CSerialPort_win32.cpp.
#include "CSerialPort.h"

bool CSerialPort::OpenConnection() {
    if (m_bOpen) {
        return false;
    }
    m_failure = {};
    if (!OpenDevice()) {
        return false;
    }
    if (!ProgramLine()) {
        ReleaseDevice();
        return false;
    }
    m_readFailed = false;
    m_bOpen = true;
    if (!StartReader()) {
        m_bOpen = false;
        ReleaseDevice();
        return Fail({OpenFailureKind::NoThread, m_strPortName, Unstarted::SerialReader});
    }
    return true;
}

bool CSerialPort::Fail(OpenFailure failure) {
    m_failure = std::move(failure);
    return false;
}

bool CSerialPort::Reconfigure(const SerialLineRequest& line) {
    if (!m_bOpen) {
        return false;
    }
    m_line = line;
    return ProgramLine();
}
