#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "OpenFailure.h"
#include "SerialPortList.h"

namespace {

std::string GroupOf(const std::string& device) {
    struct stat info {};
    if (::stat(device.c_str(), &info) != 0) {
        return {};
    }
    std::vector<char> buffer(4096);
    group entry{};
    group* found = nullptr;
    if (::getgrgid_r(info.st_gid, &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr) {
        return std::to_string(info.st_gid);
    }
    return found->gr_name;
}

}  // namespace

OpenFailure ClassifyOpenError(const std::string& device, int error) {
    OpenFailure failure;
    failure.device = device;
    switch (error) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            failure.kind = OpenFailureKind::NoDevice;
            failure.presentDevices = ListSerialDevices();
            break;
        case EACCES:
        case EPERM:
            failure.kind = OpenFailureKind::PermissionDenied;
            failure.owningGroup = GroupOf(device);
            break;
        case EBUSY:
        case EWOULDBLOCK:
            failure.kind = OpenFailureKind::InUse;
            break;
        case ENOTTY:
        case EISDIR:
            failure.kind = OpenFailureKind::NotSerial;
            break;
        case ECONNREFUSED:
            failure.kind = OpenFailureKind::ConnectRefused;
            break;
        case ETIMEDOUT:
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
    return std::strerror(error);
}
