#pragma once

#include <optional>
#include <string>
#include <vector>

// A local printer queue of the system and the port it prints to (for example "COM1:").
struct PrinterQueue {
    std::string name;
    std::string port;
};

// The system's printer queues, as far as the configurator needs them: a queue that prints to
// the port the configurator holds would compete for it.
class IPrinterQueues {
public:
    virtual ~IPrinterQueues() = default;
    // Every local queue; empty when the enumeration itself failed.
    virtual std::optional<std::vector<PrinterQueue>> EnumerateLocal() = 0;
    // Points a queue at another port; false when the queue could not be changed.
    virtual bool SetQueuePort(const std::string& queueName, const std::string& port) = 0;
};

// A system without printer queues: nothing to switch.
class CNoPrinterQueues final : public IPrinterQueues {
public:
    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override {
        return std::vector<PrinterQueue>{};
    }
    bool SetQueuePort(const std::string&, const std::string&) override { return false; }
};
