#include "CCupsPrinterQueues.h"

#include <algorithm>

#include "CupsRequests.h"
#include "QueueDevice.h"

CCupsPrinterQueues::CCupsPrinterQueues(std::filesystem::path journalFolder)
    : m_journal(std::move(journalFolder)) {
    m_journal.RecoverLeftovers(ResumeCupsQueue);
}

CCupsPrinterQueues::~CCupsPrinterQueues() {
    for (const std::string& name : std::vector<std::string>(m_held)) {
        ReleaseQueue({name, {}});
    }
}

std::optional<std::vector<PrinterQueue>> CCupsPrinterQueues::EnumerateLocal() {
    const auto found = ListCupsQueues();
    if (!found) {
        return std::nullopt;
    }
    std::vector<PrinterQueue> queues;
    for (const CupsQueueState& queue : *found) {
        queues.push_back({queue.name, QueueDevicePort(queue.deviceUri)});
    }
    return queues;
}

bool CCupsPrinterQueues::HoldQueue(const PrinterQueue& queue) {
    const auto found = ListCupsQueues();
    if (!found) {
        return false;
    }
    const auto it = std::find_if(found->begin(), found->end(),
                                 [&](const CupsQueueState& q) { return q.name == queue.name; });
    if (it == found->end()) {
        return false;
    }
    if (it->stopped) {
        return true;  // stopped by its administrator: it stays stopped, and is not ours to start
    }
    // Recorded before it is stopped, so that no crash can leave it stopped and unrecorded.
    if (!m_journal.Add(queue.name)) {
        return false;
    }
    if (!PauseCupsQueue(queue.name, "Held while a TQ-20 tool uses " + queue.port)) {
        m_journal.Remove(queue.name);
        return false;
    }
    m_held.push_back(queue.name);
    return true;
}

bool CCupsPrinterQueues::ReleaseQueue(const PrinterQueue& queue) {
    if (std::find(m_held.begin(), m_held.end(), queue.name) == m_held.end()) {
        return true;
    }
    if (!ResumeCupsQueue(queue.name)) {
        return false;  // stays in the journal; the next program to start tries again
    }
    std::erase(m_held, queue.name);
    m_journal.Remove(queue.name);
    return true;
}
