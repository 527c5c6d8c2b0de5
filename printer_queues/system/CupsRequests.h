#pragma once

#include <optional>
#include <string>
#include <vector>

// A local CUPS queue as the scheduler reports it.
struct CupsQueueState {
    std::string name;
    std::string deviceUri;
    bool stopped = false;
};

// The scheduler's local queues (not remote ones, not classes); empty when it does not answer.
std::optional<std::vector<CupsQueueState>> ListCupsQueues();
// Stops a queue: the job in progress goes back to waiting and new jobs wait too. The message is
// what lpstat shows for the queue meanwhile.
bool PauseCupsQueue(const std::string& name, const std::string& message);
// Starts a queue again; also true when the queue no longer exists.
bool ResumeCupsQueue(const std::string& name);
