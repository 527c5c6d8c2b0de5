#pragma once

#include <mutex>

#include "PrinterQueues.h"

// The system's queues for several ports held from several threads at once: one call at a time.
class CLockedPrinterQueues final : public IPrinterQueues {
public:
    explicit CLockedPrinterQueues(IPrinterQueues& queues) : m_queues(queues) {}

    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override;
    bool HoldQueue(const PrinterQueue& queue) override;
    bool ReleaseQueue(const PrinterQueue& queue) override;

private:
    IPrinterQueues& m_queues;
    std::mutex m_mutex;
};
