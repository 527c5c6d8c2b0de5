#pragma once

#include "PrinterQueues.h"

// The Windows print spooler's local printer queues. Only the calls themselves live here; which
// queue is switched when is decided by CPrinterPortMap.
class CSpoolerPrinterQueues final : public IPrinterQueues {
public:
    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override;
    bool SetQueuePort(const std::string& queueName, const std::string& port) override;
};
