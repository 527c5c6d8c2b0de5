#include "CPrinterPortMap.h"

#include <algorithm>

namespace {

constexpr const char* kFilePort = "FILE:";

}  // namespace

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
    if (SwitchQueues(it->second, kFilePort)) {
        it->second.m_bRedirected = true;
    }
}

void CPrinterPortMap::Restore(const std::string& portName) {
    auto it = m_entries.find(portName);
    if (it == m_entries.end() || !it->second.m_bRedirected) {
        return;
    }
    SwitchQueues(it->second, portName);
    it->second.m_bRedirected = false;
}

// Queues are looked up again by name: one may have been removed or renamed meanwhile. A queue
// that cannot be changed keeps its port; that is not reported.
bool CPrinterPortMap::SwitchQueues(const Entry& entry, const std::string& port) {
    const auto current = m_queues.EnumerateLocal();
    if (!current) {
        return false;
    }
    for (const PrinterQueue& queue : *current) {
        const auto& names = entry.m_printers;
        if (std::find(names.begin(), names.end(), queue.name) != names.end()) {
            m_queues.SetQueuePort(queue.name, port);
        }
    }
    return true;
}
