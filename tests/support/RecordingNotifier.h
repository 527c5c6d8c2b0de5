#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "UserNotifier.h"

// Keeps every message a front-end showed, for exact comparison.
class RecordingNotifier final : public IUserNotifier {
public:
    struct Message {
        std::string text;
        std::string caption;
        MessageIcon icon;
        bool operator==(const Message&) const = default;
    };

    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override {
        std::lock_guard lock(m_mutex);
        m_messages.push_back({text, caption, icon});
    }
    std::string ApplicationTitle() const override { return "Velkor"; }

    std::vector<Message> Messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::vector<Message> m_messages;
};
