#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "DataFile.h"

// Reads data files on threads of their own and hands each result to the window on its own
// thread, so a file system that stalls cannot freeze the window. Only the latest read counts:
// starting another one, or destroying this object, drops the result of any read still running.
class CAsyncFileRead {
public:
    using Reader = std::function<DataFileResult(const std::string&)>;
    using Done = std::function<void(DataFileResult)>;

    // done runs on receiver's thread; receiver must outlive this object.
    CAsyncFileRead(QObject* receiver, Done done, Reader reader = ReadDataFile);
    CAsyncFileRead(const CAsyncFileRead&) = delete;
    CAsyncFileRead& operator=(const CAsyncFileRead&) = delete;
    ~CAsyncFileRead();

    void Start(const std::string& path);

private:
    // What a reading thread may still reach after this object is gone.
    struct Shared {
        std::mutex mutex;
        QObject* receiver = nullptr;  // null once the results are no longer wanted
        std::uint64_t latest = 0;
    };

    std::shared_ptr<Shared> m_shared;
    Done m_done;
    Reader m_reader;
};
