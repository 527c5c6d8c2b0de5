#include <windows.h>

#include <algorithm>
#include <cstdlib>

#include "CQueueJournal.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kListSuffix = ".queues";
constexpr const char* kLockSuffix = ".lock";

// Opened without sharing: while its process lives, nobody else opens it.
HANDLE OpenLock(const fs::path& lockFile, DWORD disposition) {
    return ::CreateFileW(lockFile.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, disposition,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
}

// The lock of an ended process can be opened (and is then held in lock until closed); a live
// process keeps its own. A list without a lock file is left over as well.
bool OwnerEnded(const fs::path& lockFile, HANDLE& lock) {
    lock = OpenLock(lockFile, OPEN_EXISTING);
    return lock != INVALID_HANDLE_VALUE || ::GetLastError() == ERROR_FILE_NOT_FOUND;
}

}  // namespace

CQueueJournal::CQueueJournal(fs::path folder) : m_folder(std::move(folder)) {
    const std::string pid = std::to_string(::GetCurrentProcessId());
    m_file = m_folder / (pid + kListSuffix);
    m_lockFile = m_folder / (pid + kLockSuffix);
}

CQueueJournal::~CQueueJournal() {
    if (m_lock == nullptr) {
        return;
    }
    ::CloseHandle(m_lock);
    if (m_queues.empty()) {
        std::error_code error;
        fs::remove(m_file, error);
        fs::remove(m_lockFile, error);
    }
}

fs::path CQueueJournal::DefaultFolder() {
    const char* local = std::getenv("LOCALAPPDATA");
    const fs::path base = local != nullptr ? fs::path(local) : fs::temp_directory_path();
    return base / "tq20" / "held-queues";
}

void CQueueJournal::RecoverLeftovers(const std::function<bool(const std::string&)>& release) {
    std::error_code error;
    std::vector<fs::path> lists;
    for (const auto& entry : fs::directory_iterator(m_folder, error)) {
        if (entry.path().extension() == kListSuffix) {
            lists.push_back(entry.path());
        }
    }
    for (const fs::path& list : lists) {
        fs::path lockFile = list;
        lockFile.replace_extension(kLockSuffix);
        HANDLE lock = INVALID_HANDLE_VALUE;
        if (!OwnerEnded(lockFile, lock)) {
            continue;
        }
        std::vector<std::string> left = ReadList(list);
        std::erase_if(left, release);
        const bool done = WriteList(list, left) && left.empty();
        if (lock != INVALID_HANDLE_VALUE) {
            ::CloseHandle(lock);
        }
        if (done) {
            fs::remove(lockFile, error);
        }
    }
}

bool CQueueJournal::TakeLock() {
    std::error_code error;
    fs::create_directories(m_folder, error);
    const HANDLE lock = OpenLock(m_lockFile, OPEN_ALWAYS);
    if (lock == INVALID_HANDLE_VALUE) {
        return false;
    }
    m_lock = lock;
    // A list of an ended process with our id that could not be released yet is ours now.
    m_queues = ReadList(m_file);
    return true;
}

bool CQueueJournal::HasLock() const {
    return m_lock != nullptr;
}

bool CQueueJournal::ReplaceWhole(const fs::path& file, const std::string& text) {
    fs::path temporary = file;
    temporary += ".new";
    const HANDLE out = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
    if (out == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool whole =
        ::WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size() && ::FlushFileBuffers(out);
    ::CloseHandle(out);
    return whole && ::MoveFileExW(temporary.c_str(), file.c_str(),
                                  MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
}
