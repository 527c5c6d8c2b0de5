#pragma once

#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

#include "UserNotifier.h"

// Keeps every message a front-end showed, for exact comparison, and every question it asked;
// questions take the answers a test lined up, then the answer that changes nothing.
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
    Answer Ask(const std::string& text, const std::string& caption, Question question) override {
        std::lock_guard lock(m_mutex);
        m_questions.push_back({text, caption, MessageIcon::Warning});
        if (m_answers.empty()) {
            return IUserNotifier::Ask(text, caption, question);
        }
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        return answer;
    }

    void LineUp(std::initializer_list<Answer> answers) {
        std::lock_guard lock(m_mutex);
        m_answers.insert(m_answers.end(), answers);
    }
    std::vector<Message> Questions() {
        std::lock_guard lock(m_mutex);
        return m_questions;
    }

    std::vector<Message> Messages() {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    std::mutex m_mutex;
    std::vector<Message> m_messages;
    std::vector<Message> m_questions;
    std::deque<Answer> m_answers;
    std::function<void()> m_onMessage;
};
