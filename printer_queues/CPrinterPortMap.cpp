#include "CPrinterPortMap.h"

#include <algorithm>

CPrinterPortMap::CPrinterPortMap(IPrinterQueues& queues) : m_queues(queues) {
    const auto found = m_queues.EnumerateLocal();
    if (!found) {
        return;
    }
    for (const PrinterQueue& queue : *found) {
        m_entries[queue.port].m_printers.push_back(queue.name);
    }
}

void CPrinterPortMap::Redirect(const std::string& portName) {
    auto it = m_entries.find(portName);
    if (it == m_entries.end() || it->second.m_bRedirected) {
        return;
    }
    if (SwitchQueues(portName, it->second, true)) {
        it->second.m_bRedirected = true;
    }
}

void CPrinterPortMap::Restore(const std::string& portName) {
    auto it = m_entries.find(portName);
    if (it == m_entries.end() || !it->second.m_bRedirected) {
        return;
    }
    SwitchQueues(portName, it->second, false);
    it->second.m_bRedirected = false;
}

// Queues are looked up again by name: one may have been removed or renamed meanwhile. A queue
// that cannot be held keeps its port and is listed in Refused() for the caller to tell.
bool CPrinterPortMap::SwitchQueues(const std::string& portName, const Entry& entry, bool hold) {
    const auto current = m_queues.EnumerateLocal();
    if (!current) {
        return false;
    }
    m_refused.clear();
    for (const PrinterQueue& queue : *current) {
        const auto& names = entry.m_printers;
        if (std::find(names.begin(), names.end(), queue.name) == names.end()) {
            continue;
        }
        const PrinterQueue ofPort{queue.name, portName};
        if (!hold) {
            m_queues.ReleaseQueue(ofPort);
        } else if (!m_queues.HoldQueue(ofPort)) {
            m_refused.push_back(queue.name);
        }
    }
    return true;
}
