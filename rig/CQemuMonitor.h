#pragma once

#include <chrono>
#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "CLineSocket.h"

// The machine's QMP monitor: commands and their answers, and the events between them.
class CQemuMonitor {
public:
    void Attach(CLineSocket socket) { m_socket = std::move(socket); }
    // Reads the greeting and leaves the capabilities negotiation.
    bool Handshake(std::chrono::seconds timeout);
    // The answer ("return" or "error" object); nullopt when none came in time.
    std::optional<nlohmann::json> Execute(const std::string& command,
                                          const nlohmann::json& arguments,
                                          std::chrono::seconds timeout);
    // Waits for an event whose data holds every member of data.
    bool WaitEvent(const std::string& name, const nlohmann::json& data,
                   std::chrono::seconds timeout);

private:
    std::optional<nlohmann::json> ReadMessage(CLineSocket::Clock::time_point deadline);
    bool TakeEvent(const std::string& name, const nlohmann::json& data);

    CLineSocket m_socket;
    std::vector<nlohmann::json> m_events;
};
