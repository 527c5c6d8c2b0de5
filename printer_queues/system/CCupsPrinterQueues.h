#pragma once

#include <filesystem>

#include "CQueueJournal.h"
#include "PrinterQueues.h"

// The CUPS queues of this system. A queue is held off its port by stopping it: jobs submitted
// meanwhile wait in the queue and print once it is started again. Only queues this program
// stopped are started again, so a queue its administrator stopped stays stopped; they are
// recorded in a journal, and construction starts again the queues of programs that ended while
// holding them.
class CCupsPrinterQueues final : public IPrinterQueues {
public:
    explicit CCupsPrinterQueues(
        std::filesystem::path journalFolder = CQueueJournal::DefaultFolder());
    CCupsPrinterQueues(const CCupsPrinterQueues&) = delete;
    CCupsPrinterQueues& operator=(const CCupsPrinterQueues&) = delete;
    ~CCupsPrinterQueues() override;

    std::optional<std::vector<PrinterQueue>> EnumerateLocal() override;
    bool HoldQueue(const PrinterQueue& queue) override;
    bool ReleaseQueue(const PrinterQueue& queue) override;

private:
    CQueueJournal m_journal;
    std::vector<std::string> m_held;
};
