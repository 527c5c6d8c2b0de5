#include <algorithm>
#include <fstream>

#include "CQueueJournal.h"

namespace fs = std::filesystem;

std::vector<std::string> CQueueJournal::ReadList(const fs::path& file) {
    std::vector<std::string> queues;
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty()) {
            queues.push_back(line);
        }
    }
    return queues;
}

bool CQueueJournal::WriteList(const fs::path& file, const std::vector<std::string>& queues) {
    if (queues.empty()) {
        std::error_code error;
        fs::remove(file, error);
        return !error;
    }
    std::string text;
    for (const std::string& queue : queues) {
        text += queue + '\n';
    }
    return ReplaceWhole(file, text);
}

bool CQueueJournal::Write() const {
    return WriteList(m_file, m_queues);
}

bool CQueueJournal::Add(const std::string& queue) {
    if ((!HasLock() && !TakeLock()) || Contains(queue)) {
        return HasLock();
    }
    m_queues.push_back(queue);
    if (!Write()) {
        m_queues.pop_back();
        return false;
    }
    return true;
}

void CQueueJournal::Remove(const std::string& queue) {
    const auto erased = std::erase(m_queues, queue);
    if (erased > 0) {
        Write();
    }
}

bool CQueueJournal::Contains(const std::string& queue) const {
    return std::find(m_queues.begin(), m_queues.end(), queue) != m_queues.end();
}
