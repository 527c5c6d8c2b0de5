#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "CQueueJournal.h"
#include "PrinterQueues.h"

// The Windows print spooler's local printer queues. A queue is held off its port by pointing it
// at "FILE:" and released by pointing it back; queues still held when the object goes are
// released then. Each held queue is recorded in a journal with its port, and construction points
// back the queues of programs that ended while holding them. Only the spooler calls live here:
// which queue is switched when is decided by CPrinterPortMap.
class CSpoolerPrinterQueues final : public IPrinterQueues {
public:
    explicit CSpoolerPrinterQueues(
        std::filesystem::path journalFolder = CQueueJournal::DefaultFolder());
    CSpoolerPrinterQueues(const CSpoolerPrinterQueues&) = delete;
    CSpoolerPrinterQueues& operator=(const CSpoolerPrinterQueues&) = delete;
    ~CSpoolerPrinterQueues() override;

    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override;
    bool HoldQueue(const PrinterQueue& queue) override;
    bool ReleaseQueue(const PrinterQueue& queue) override;

private:
    CQueueJournal m_journal;
    std::vector<PrinterQueue> m_held;
};
