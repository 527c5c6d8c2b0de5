#pragma once

#include <string>
#include <vector>

#include "PrinterQueues.h"

// The Windows print spooler's local printer queues. A queue is held off its port by pointing it
// at "FILE:" and released by pointing it back; queues still held when the object goes are
// released then. Only the spooler calls live here: which queue is switched when is decided by
// CPrinterPortMap.
class CSpoolerPrinterQueues final : public IPrinterQueues {
public:
    CSpoolerPrinterQueues() = default;
    CSpoolerPrinterQueues(const CSpoolerPrinterQueues&) = delete;
    CSpoolerPrinterQueues& operator=(const CSpoolerPrinterQueues&) = delete;
    ~CSpoolerPrinterQueues() override;

    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override;
    bool HoldQueue(const PrinterQueue& queue) override;
    bool ReleaseQueue(const PrinterQueue& queue) override;

private:
    std::vector<PrinterQueue> m_held;
};
