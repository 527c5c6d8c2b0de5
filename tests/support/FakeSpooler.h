#pragma once

#include <string>
#include <vector>

#include "PrinterQueues.h"

// The system's printer queues in memory, holding a queue the way the Windows spooler does (its
// port becomes "FILE:"): that spooler does not exist here.
class FakeSpooler final : public IPrinterQueues {
public:
    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override {
        if (failEnumeration) {
            return std::nullopt;
        }
        return queues;
    }
    bool HoldQueue(const PrinterQueue& queue) override { return SetPort(queue.name, "FILE:"); }
    bool ReleaseQueue(const PrinterQueue& queue) override {
        return SetPort(queue.name, queue.port);
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
    bool SetPort(const std::string& queueName, const std::string& port) {
        for (PrinterQueue& queue : queues) {
            if (queue.name == queueName && !locked(queueName)) {
                queue.port = port;
                return true;
            }
        }
        return false;
    }
    bool locked(const std::string& name) const {
        for (const auto& lockedName : lockedQueues) {
            if (lockedName == name) {
                return true;
            }
        }
        return false;
    }
};
