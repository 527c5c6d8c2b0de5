#include "CQemuMonitor.h"

#include <algorithm>

using Clock = CLineSocket::Clock;

std::optional<nlohmann::json> CQemuMonitor::ReadMessage(Clock::time_point deadline) {
    while (auto line = m_socket.ReadLine(deadline)) {
        auto message = nlohmann::json::parse(*line, nullptr, false);
        if (message.is_object()) {
            return message;
        }
    }
    return std::nullopt;
}

bool CQemuMonitor::Handshake(std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    const auto greeting = ReadMessage(deadline);
    return greeting && greeting->contains("QMP") &&
           Execute("qmp_capabilities", nlohmann::json::object(), timeout).has_value();
}

std::optional<nlohmann::json> CQemuMonitor::Execute(const std::string& command,
                                                    const nlohmann::json& arguments,
                                                    std::chrono::seconds timeout) {
    const nlohmann::json request{{"execute", command}, {"arguments", arguments}};
    if (!m_socket.Write(request.dump() + "\n")) {
        return std::nullopt;
    }
    const auto deadline = Clock::now() + timeout;
    while (auto message = ReadMessage(deadline)) {
        if (message->contains("event")) {
            m_events.push_back(std::move(*message));
        } else if (message->contains("return") || message->contains("error")) {
            return message;
        }
    }
    return std::nullopt;
}

bool CQemuMonitor::TakeEvent(const std::string& name, const nlohmann::json& data) {
    const auto matches = [&](const nlohmann::json& event) {
        if (event.value("event", "") != name) {
            return false;
        }
        const nlohmann::json got = event.value("data", nlohmann::json::object());
        return std::all_of(data.items().begin(), data.items().end(), [&](const auto& item) {
            return got.contains(item.key()) && got[item.key()] == item.value();
        });
    };
    const auto it = std::find_if(m_events.begin(), m_events.end(), matches);
    if (it == m_events.end()) {
        return false;
    }
    m_events.erase(it);
    return true;
}

bool CQemuMonitor::WaitEvent(const std::string& name, const nlohmann::json& data,
                             std::chrono::seconds timeout) {
    const auto deadline = Clock::now() + timeout;
    while (!TakeEvent(name, data)) {
        auto message = ReadMessage(deadline);
        if (!message) {
            return false;
        }
        if (message->contains("event")) {
            m_events.push_back(std::move(*message));
        }
    }
    return true;
}
