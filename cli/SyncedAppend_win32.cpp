#include "SyncedAppend.h"

#include <windows.h>

namespace {

bool Fail(const std::string& path, std::string& error) {
    error = path + ": cannot be written (error " + std::to_string(::GetLastError()) + ")";
    return false;
}

}  // namespace

bool AppendSynced(const std::string& path, const std::string& text, std::string& error) {
    const HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                                      OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return Fail(path, error);
    }
    if (::GetFileType(file) != FILE_TYPE_DISK) {
        ::CloseHandle(file);
        error = path + ": not a regular file";
        return false;
    }
    DWORD written = 0;
    const bool whole =
        ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size() && ::FlushFileBuffers(file);
    if (!whole) {
        Fail(path, error);
    }
    ::CloseHandle(file);
    return whole;
}

bool RegularFileExists(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}
