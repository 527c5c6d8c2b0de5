#include <windows.h>

#include <string>

#include "OpenFailure.h"
#include "SettingsFile.h"

namespace {

std::string Reason() {
    return SystemErrorText(static_cast<int>(::GetLastError()));
}

std::string FolderOf(const std::string& path) {
    const auto slash = path.find_last_of("/\\");
    if (slash == std::string::npos) {
        return ".";
    }
    return path.substr(0, slash + 1);
}

// Closes the handle however the work ends.
class FileHandle {
public:
    explicit FileHandle(HANDLE handle) : m_handle(handle) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    HANDLE Get() const { return m_handle; }
    bool Close() {
        const bool closed = m_handle == INVALID_HANDLE_VALUE || ::CloseHandle(m_handle) != 0;
        m_handle = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE m_handle;
};

// An existing target must be a disk file: a device (COM1, NUL), a pipe or a folder is refused.
bool CheckTarget(const std::string& path, std::string& error) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD why = ::GetLastError();
        if (why == ERROR_FILE_NOT_FOUND) {
            return true;
        }
        error = "Cannot write " + path + ": " + SystemErrorText(static_cast<int>(why)) + ".";
        return false;
    }
    const FileHandle file(::CreateFileA(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 || file.Get() == INVALID_HANDLE_VALUE ||
        ::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = "Cannot write " + path + ": it is not a regular file.";
        return false;
    }
    return true;
}

bool WriteAll(HANDLE file, const std::string& text) {
    DWORD written = 0;
    return ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

// A name of its own in the target's folder, so that the rename stays on one volume.
std::string TemporaryName(const std::string& folder, unsigned attempt) {
    return folder + ".tq20-" + std::to_string(::GetCurrentProcessId()) + "-" +
           std::to_string(::GetTickCount64()) + "-" + std::to_string(attempt);
}

}  // namespace

bool WriteFileSafely(const std::string& path, const std::string& text, std::string& error) {
    if (!CheckTarget(path, error)) {
        return false;
    }
    std::string temporary;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (unsigned attempt = 0; attempt < 100 && created == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = TemporaryName(FolderOf(path), attempt);
        created = ::CreateFileA(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    FileHandle file(created);
    if (file.Get() == INVALID_HANDLE_VALUE) {
        error = "Cannot write " + path + ": " + Reason() + ".";
        return false;
    }
    const bool written = WriteAll(file.Get(), text) && ::FlushFileBuffers(file.Get()) != 0;
    const std::string why = written ? std::string() : Reason();
    const bool closed = file.Close();
    if (!written || !closed ||
        !::MoveFileExA(temporary.c_str(), path.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = "Cannot write " + path + ": " + (why.empty() ? Reason() : why) +
                ". The file is as it was.";
        ::DeleteFileA(temporary.c_str());
        return false;
    }
    return true;
}

std::optional<std::string> ReadSmallFile(const std::string& path, std::size_t limit,
                                         std::string& error) {
    const FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        error = "Cannot read " + path + ": " + Reason() + ".";
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK || !::GetFileSizeEx(file.Get(), &size)) {
        error = "Cannot read " + path + ": it is not a regular file.";
        return std::nullopt;
    }
    if (static_cast<std::uint64_t>(size.QuadPart) > limit) {
        error = "Cannot read " + path + ": it is larger than " + std::to_string(limit) +
                " bytes, too large for saved settings.";
        return std::nullopt;
    }
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!::ReadFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)) {
        error = "Cannot read " + path + ": " + Reason() + ".";
        return std::nullopt;
    }
    text.resize(got);
    return text;
}

bool AppendSynced(const std::string& path, const std::string& text, std::string& error) {
    const FileHandle file(::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                        OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file.Get() == INVALID_HANDLE_VALUE) {
        error = "Cannot write " + path + ": " + Reason() + ".";
        return false;
    }
    if (::GetFileType(file.Get()) != FILE_TYPE_DISK) {
        error = "Cannot write " + path + ": it is not a regular file.";
        return false;
    }
    if (!WriteAll(file.Get(), text) || ::FlushFileBuffers(file.Get()) == 0) {
        error = "Cannot write " + path + ": " + Reason() + ".";
        return false;
    }
    return true;
}

bool RegularFileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
