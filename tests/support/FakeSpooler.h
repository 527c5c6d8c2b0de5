#pragma once

#include <string>
#include <vector>

#include "PrinterQueues.h"

// The system's printer queues in memory: the spooler of the other platform does not exist here.
class FakeSpooler final : public IPrinterQueues {
public:
    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override {
        if (failEnumeration) {
            return std::nullopt;
        }
        return queues;
    }
    bool SetQueuePort(const std::string& queueName, const std::string& port) override {
        for (PrinterQueue& queue : queues) {
            if (queue.name == queueName && !locked(queueName)) {
                queue.port = port;
                return true;
            }
        }
        return false;
    }
    std::string PortOf(const std::string& queueName) const {
        for (const PrinterQueue& queue : queues) {
            if (queue.name == queueName) {
                return queue.port;
            }
        }
        return {};
    }

    std::vector<PrinterQueue> queues;
    bool failEnumeration = false;
    std::vector<std::string> lockedQueues;

private:
    bool locked(const std::string& name) const {
        for (const auto& lockedName : lockedQueues) {
            if (lockedName == name) {
                return true;
            }
        }
        return false;
    }
};
