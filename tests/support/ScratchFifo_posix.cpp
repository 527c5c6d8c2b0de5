#include <sys/stat.h>

#include <stdexcept>

#include "LoaderFiles.h"

std::string ScratchFolder::Fifo(const std::string& name) const {
    const std::string path = m_dir + "/" + name;
    if (::mkfifo(path.c_str(), 0600) != 0) {
        throw std::runtime_error("no FIFO");
    }
    return path;
}
