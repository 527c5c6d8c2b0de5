#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <vector>

#include "LoadMessages.h"

// Records a load's notifications and progress steps; waits for the ending.
class RecordingLoadOwner final : public ILoadOwner {
public:
    void OnLoadMessage(LoadMessage message) override {
        std::lock_guard lock(m_mutex);
        m_messages.push_back(message);
        m_changed.notify_all();
    }
    void OnRecordTaken() override {
        std::lock_guard lock(m_mutex);
        ++m_records;
    }

    // The ending notification, or 0 when none came within the limit.
    unsigned WaitForEnding(std::chrono::milliseconds limit) {
        std::unique_lock lock(m_mutex);
        m_changed.wait_for(lock, limit, [this] { return Ending() != 0; });
        return Ending();
    }
    std::vector<LoadMessage> Messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }
    int Records() {
        std::lock_guard lock(m_mutex);
        return m_records;
    }

private:
    unsigned Ending() const {
        for (LoadMessage message : m_messages) {
            if (EndsLoad(message)) {
                return message;
            }
        }
        return 0;
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<LoadMessage> m_messages;
    int m_records = 0;
};
