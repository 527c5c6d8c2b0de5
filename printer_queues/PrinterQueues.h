#pragma once

#include <optional>
#include <string>
#include <vector>

// A local printer queue of the system and the port it prints to (for example "COM1:", or the
// serial device of a CUPS queue with links resolved).
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
    // Keeps the queue's jobs off its port while the port is held: the Windows spooler points the
    // queue at "FILE:", CUPS stops the queue so that its jobs wait. False when the queue could
    // not be changed.
    virtual bool HoldQueue(const PrinterQueue& queue) = 0;
    // Undoes HoldQueue: the queue prints to queue.port again.
    virtual bool ReleaseQueue(const PrinterQueue& queue) = 0;
};

// A system without printer queues: nothing to switch.
class CNoPrinterQueues final : public IPrinterQueues {
public:
    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override {
        return std::vector<PrinterQueue>{};
    }
    bool HoldQueue(const PrinterQueue&) override { return false; }
    bool ReleaseQueue(const PrinterQueue&) override { return false; }
};
