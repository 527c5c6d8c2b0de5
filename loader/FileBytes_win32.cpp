#include <windows.h>

#include "FileBytes.h"

namespace {

// Closes the handle however the read ends.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() {
        if (m_handle != INVALID_HANDLE_VALUE) {
            ::CloseHandle(m_handle);
        }
    }
    HANDLE Get() const { return m_handle; }

private:
    HANDLE m_handle;
};

// The buffer holds one byte more than the file's size promised, so the end of the file is seen
// in the last read; a file that grew since is read on up to one byte beyond the limit.
FileReadStatus ReadAll(HANDLE file, std::size_t expected, std::size_t limit,
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
        const std::size_t room = bytes.size() - got;
        const DWORD ask = room > MAXDWORD ? MAXDWORD : static_cast<DWORD>(room);
        DWORD n = 0;
        if (!::ReadFile(file, bytes.data() + got, ask, &n, nullptr)) {
            return FileReadStatus::CannotRead;
        }
        if (n == 0) {
            bytes.resize(got);
            return FileReadStatus::Ok;
        }
        got += n;
    }
}

}  // namespace

// A folder does not open without backup semantics; a device (COM1, NUL) or a pipe opens but is
// no disk file, and is refused before anything is read from it.
FileReadStatus ReadRegularFile(const std::string& path, std::size_t limit,
                               std::vector<std::uint8_t>& bytes) {
    bytes.clear();
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (file.Get() == INVALID_HANDLE_VALUE || ::GetFileType(file.Get()) != FILE_TYPE_DISK ||
        !::GetFileSizeEx(file.Get(), &size)) {
        return FileReadStatus::CannotRead;
    }
    if (size.QuadPart < 0 || static_cast<std::uint64_t>(size.QuadPart) > limit) {
        return FileReadStatus::TooLarge;
    }
    return ReadAll(file.Get(), static_cast<std::size_t>(size.QuadPart), limit, bytes);
}
