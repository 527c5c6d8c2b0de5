#include "OpenFailure.h"

namespace {

std::string DeviceList(const std::vector<std::string>& devices) {
    if (devices.empty()) {
        return "no serial device is present.";
    }
    std::string list = "the serial devices present are ";
    for (std::size_t i = 0; i < devices.size(); ++i) {
        list += (i == 0 ? "" : ", ") + devices[i];
    }
    return list + ".";
}

std::string PermissionText(const OpenFailure& failure) {
    if (failure.owningGroup.empty() || failure.owningGroup == "root") {
        return "Permission denied for " + failure.device + ".";
    }
    return "Permission denied for " + failure.device + ": it belongs to the group " +
           failure.owningGroup + "; add yourself with \"sudo usermod -aG " + failure.owningGroup +
           " $USER\" and log in again.";
}

}  // namespace

std::string DescribeOpenFailure(const OpenFailure& failure) {
    switch (failure.kind) {
        case OpenFailureKind::None:
            return {};
        case OpenFailureKind::NoDevice:
            return failure.device + " does not exist; " + DeviceList(failure.presentDevices);
        case OpenFailureKind::PermissionDenied:
            return PermissionText(failure);
        case OpenFailureKind::InUse:
            return failure.device + " is in use by another program.";
        case OpenFailureKind::NotSerial:
            return failure.device + " is not a serial port.";
        case OpenFailureKind::LineRefused:
            return "The driver of " + failure.device + " refused the line settings.";
        case OpenFailureKind::SpeedRefused:
            return "The driver of " + failure.device + " runs the line at " +
                   std::to_string(failure.reportedSpeed) + " bit/s instead of " +
                   std::to_string(failure.requestedSpeed) + " bit/s.";
        case OpenFailureKind::NoThread:
            return "The system could not start a thread for the connection.";
        case OpenFailureKind::HostNotFound:
            return "The host of " + failure.device + " is not known.";
        case OpenFailureKind::ConnectRefused:
            return failure.device + " refused the connection.";
        case OpenFailureKind::ConnectTimedOut:
            return failure.device + " did not accept the connection in time.";
        case OpenFailureKind::SystemError:
            return failure.device + ": " + SystemErrorText(failure.error) + ".";
    }
    return {};
}
