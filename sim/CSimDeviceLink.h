#pragma once

#include <string>
#include <utility>

// A symbolic link by which hosts find the printer's pseudo-terminal. It follows the printer's
// line: gone while the printer is unplugged, pointing at the new device once it is back.
class CSimDeviceLink {
public:
    enum class Result { Made, NotALink, Failed };

    explicit CSimDeviceLink(std::string path) : m_path(std::move(path)) {}

    const std::string& Path() const { return m_path; }
    // Points the link at the device. Only a symbolic link (left by an earlier run) is replaced;
    // a file or anything else that a user keeps at that path is not ours to delete.
    Result PointAt(const std::string& device);
    // Removes the link, but only while it still names the device it was pointed at.
    void Remove();

private:
    std::string m_path;
    std::string m_device;
};
