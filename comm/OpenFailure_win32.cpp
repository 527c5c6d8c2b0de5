#include <windows.h>
#include <winsock2.h>

#include "OpenFailure.h"
#include "SerialPortList.h"

// On Windows a COM port that another program holds answers with "access denied": there are no
// device permissions for an ordinary user to lack.
OpenFailure ClassifyOpenError(const std::string& device, int error) {
    OpenFailure failure;
    failure.device = device;
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_BAD_UNIT:
        case ERROR_DEV_NOT_EXIST:
        case ERROR_NOT_READY:
            failure.kind = OpenFailureKind::NoDevice;
            failure.presentDevices = ListSerialDevices();
            break;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
        case ERROR_BUSY:
            failure.kind = OpenFailureKind::InUse;
            break;
        case ERROR_INVALID_FUNCTION:
        case ERROR_NOT_SUPPORTED:
        case ERROR_INVALID_HANDLE:
            failure.kind = OpenFailureKind::NotSerial;
            break;
        case WSAHOST_NOT_FOUND:
        case WSANO_DATA:
            failure.kind = OpenFailureKind::HostNotFound;
            break;
        case WSAECONNREFUSED:
            failure.kind = OpenFailureKind::ConnectRefused;
            break;
        case WSAETIMEDOUT:
            failure.kind = OpenFailureKind::ConnectTimedOut;
            break;
        default:
            failure.kind = OpenFailureKind::SystemError;
            failure.error = error;
            break;
    }
    return failure;
}

std::string SystemErrorText(int error) {
    char text[512] = {};
    const DWORD length =
        ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                         static_cast<DWORD>(error), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US),
                         text, sizeof text, nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' ||
                                message.back() == ' ' || message.back() == '.')) {
        message.pop_back();
    }
    return message.empty() ? "system error " + std::to_string(error) : message;
}
