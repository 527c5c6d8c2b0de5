#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

// The printer queues this program has held, kept on disk so that a program that ends without
// releasing them again (killed, crashed) leaves a note for the next program that starts. Each
// process writes its own file, named by its process id, beside a lock file it holds while it
// lives: a file whose lock is free belongs to a process that has ended. The lock is an flock()
// on POSIX and, on Windows, the lock file kept open without sharing.
class CQueueJournal {
public:
    explicit CQueueJournal(std::filesystem::path folder);
    CQueueJournal(const CQueueJournal&) = delete;
    CQueueJournal& operator=(const CQueueJournal&) = delete;
    // Removes this process's files once every queue has been released.
    ~CQueueJournal();

    // $XDG_STATE_HOME/tq20/held-queues, or ~/.local/state/tq20/held-queues; on Windows
    // %LOCALAPPDATA%\tq20\held-queues.
    static std::filesystem::path DefaultFolder();

    // Hands every queue left by ended processes to release, which returns true once the queue
    // runs again (or no longer exists); a file is removed when all its queues are handled.
    void RecoverLeftovers(const std::function<bool(const std::string&)>& release);

    // Records a queue before it is stopped; false when the record could not be written.
    bool Add(const std::string& queue);
    void Remove(const std::string& queue);
    bool Contains(const std::string& queue) const;

private:
    // One queue name a line.
    static std::vector<std::string> ReadList(const std::filesystem::path& file);
    // An empty list removes the file; any other replaces it whole, so a reader sees the old
    // list or the new one.
    static bool WriteList(const std::filesystem::path& file,
                          const std::vector<std::string>& queues);
    // Written beside the file, flushed to the disk and moved over it.
    static bool ReplaceWhole(const std::filesystem::path& file, const std::string& text);
    bool HasLock() const;
    bool TakeLock();
    bool Write() const;

    std::filesystem::path m_folder;
    std::filesystem::path m_file;
    std::filesystem::path m_lockFile;
#ifdef _WIN32
    void* m_lock = nullptr;  // the open lock file
#else
    int m_lock = -1;
#endif
    std::vector<std::string> m_queues;
};
