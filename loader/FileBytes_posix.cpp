#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "FileBytes.h"

namespace {

// Closes the descriptor however the read ends.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd) : m_fd(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    ~FileDescriptor() {
        if (m_fd >= 0) {
            ::close(m_fd);
        }
    }
    int Get() const { return m_fd; }

private:
    int m_fd;
};

// The buffer holds one byte more than the file's status promised, so the end of the file is
// seen in the last read; a file that grew since is read on up to one byte beyond the limit.
FileReadStatus ReadAll(int fd, std::size_t expected, std::size_t limit,
                       std::vector<std::uint8_t>& bytes) {
    bytes.resize(expected + 1);
    std::size_t got = 0;
    for (;;) {
        if (got == bytes.size()) {
            if (got > limit) {
                return FileReadStatus::TooLarge;
            }
            bytes.resize(limit + 1);
        }
        const ssize_t n = ::read(fd, bytes.data() + got, bytes.size() - got);
        if (n == 0) {
            bytes.resize(got);
            return FileReadStatus::Ok;
        }
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return FileReadStatus::CannotRead;
        }
        got += static_cast<std::size_t>(n);
    }
}

}  // namespace

FileReadStatus ReadRegularFile(const std::string& path, std::size_t limit,
                               std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    struct stat status {};
    if (file.Get() < 0 || ::fstat(file.Get(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return FileReadStatus::CannotRead;
    }
    if (status.st_size < 0 || static_cast<std::uint64_t>(status.st_size) > limit) {
        return FileReadStatus::TooLarge;
    }
    return ReadAll(file.Get(), static_cast<std::size_t>(status.st_size), limit, bytes);
}
