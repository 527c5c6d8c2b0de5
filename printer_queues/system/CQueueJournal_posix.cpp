#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

#include "CQueueJournal.h"

namespace {

namespace fs = std::filesystem;

constexpr const char* kListSuffix = ".queues";
constexpr const char* kLockSuffix = ".lock";

// The lock of an ended process can be taken (and is then held in lockFd until closed); a live
// process keeps its own. A list without a lock file is left over as well.
bool OwnerEnded(const fs::path& lockFile, int& lockFd) {
    lockFd = ::open(lockFile.c_str(), O_RDWR | O_CLOEXEC);
    if (lockFd < 0) {
        return errno == ENOENT;
    }
    if (::flock(lockFd, LOCK_EX | LOCK_NB) != 0) {
        ::close(lockFd);
        lockFd = -1;
        return false;
    }
    return true;
}

}  // namespace

CQueueJournal::CQueueJournal(fs::path folder) : m_folder(std::move(folder)) {
    const std::string pid = std::to_string(::getpid());
    m_file = m_folder / (pid + kListSuffix);
    m_lockFile = m_folder / (pid + kLockSuffix);
}

CQueueJournal::~CQueueJournal() {
    if (m_lock < 0) {
        return;
    }
    if (m_queues.empty()) {
        std::error_code error;
        fs::remove(m_file, error);
        fs::remove(m_lockFile, error);
    }
    ::close(m_lock);
}

fs::path CQueueJournal::DefaultFolder() {
    const char* state = std::getenv("XDG_STATE_HOME");
    fs::path base;
    if (state != nullptr && *state == '/') {
        base = state;
    } else {
        const char* home = std::getenv("HOME");
        base = fs::path(home != nullptr ? home : "/tmp") / ".local" / "state";
    }
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
        int lock = -1;
        if (!OwnerEnded(lockFile, lock)) {
            continue;
        }
        std::vector<std::string> left = ReadList(list);
        std::erase_if(left, release);
        if (WriteList(list, left) && left.empty()) {
            fs::remove(lockFile, error);
        }
        if (lock >= 0) {
            ::close(lock);
        }
    }
}

// The lock file may be removed by a recovering process between our open and our lock; then the
// lock is on a file nobody else can see, and we try again.
bool CQueueJournal::TakeLock() {
    std::error_code error;
    fs::create_directories(m_folder, error);
    for (int attempt = 0; attempt < 3 && m_lock < 0; ++attempt) {
        const int fd = ::open(m_lockFile.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (fd < 0) {
            return false;
        }
        struct stat opened {};
        struct stat named {};
        if (::flock(fd, LOCK_EX) == 0 && ::fstat(fd, &opened) == 0 &&
            ::stat(m_lockFile.c_str(), &named) == 0 && opened.st_ino == named.st_ino) {
            m_lock = fd;
            // A list of an ended process with our id that could not be released yet is ours now.
            m_queues = ReadList(m_file);
        } else {
            ::close(fd);
        }
    }
    return m_lock >= 0;
}

bool CQueueJournal::HasLock() const {
    return m_lock >= 0;
}

bool CQueueJournal::ReplaceWhole(const fs::path& file, const std::string& text) {
    fs::path temporary = file;
    temporary += ".new";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) {
        return false;
    }
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const bool synced = ::fsync(fd) == 0;
    ::close(fd);
    return written && synced && ::rename(temporary.c_str(), file.c_str()) == 0;
}
