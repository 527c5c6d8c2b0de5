#include "CLockedPrinterQueues.h"

std::optional<std::vector<PrinterQueue>> CLockedPrinterQueues::EnumerateLocal() {
    std::lock_guard lock(m_mutex);
    return m_queues.EnumerateLocal();
}

bool CLockedPrinterQueues::HoldQueue(const PrinterQueue& queue) {
    std::lock_guard lock(m_mutex);
    return m_queues.HoldQueue(queue);
}

bool CLockedPrinterQueues::ReleaseQueue(const PrinterQueue& queue) {
    std::lock_guard lock(m_mutex);
    return m_queues.ReleaseQueue(queue);
}
