#include "CSimDeviceLink.h"

#include <sys/stat.h>
#include <unistd.h>

CSimDeviceLink::Result CSimDeviceLink::PointAt(const std::string& device) {
    struct stat info {};
    if (::lstat(m_path.c_str(), &info) == 0) {
        if (!S_ISLNK(info.st_mode)) {
            return Result::NotALink;
        }
        ::unlink(m_path.c_str());
    }
    if (::symlink(device.c_str(), m_path.c_str()) != 0) {
        return Result::Failed;
    }
    m_device = device;
    return Result::Made;
}

void CSimDeviceLink::Remove() {
    char target[4096];
    const ssize_t length = ::readlink(m_path.c_str(), target, sizeof target);
    if (!m_device.empty() && length > 0 &&
        std::string(target, static_cast<std::size_t>(length)) == m_device) {
        ::unlink(m_path.c_str());
    }
    m_device.clear();
}
