#pragma once

#include <functional>
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
        if (m_onMessage) {
            m_onMessage();
        }
        std::lock_guard lock(m_mutex);
        m_messages.push_back({text, caption, icon});
    }
    // Looks at the front-end each time a message comes up, on the thread that shows it, as a
    // user reading the message would find it.
    void OnMessage(std::function<void()> look) { m_onMessage = std::move(look); }
    std::string ApplicationTitle() const override { return "Velkor"; }

    std::vector<Message> Messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::function<void()> m_onMessage;
};
