#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <memory>

#include "CSpoolerPrinterQueues.h"

namespace {

struct PrinterCloser {
    void operator()(HANDLE printer) const { ::ClosePrinter(printer); }
};
using PrinterHandle = std::unique_ptr<void, PrinterCloser>;

PrinterHandle OpenForChange(const std::string& name) {
    PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
    HANDLE printer = nullptr;
    if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &printer, &access)) {
        return nullptr;
    }
    return PrinterHandle(printer);
}

constexpr const char* kFilePort = "FILE:";

// Rewrites the port of one queue through its level-2 information. A queue that no longer
// exists counts as done when missingIsDone.
bool SetQueuePort(const std::string& queueName, const std::string& port,
                  bool missingIsDone = false) {
    const PrinterHandle printer = OpenForChange(queueName);
    if (!printer) {
        return missingIsDone && ::GetLastError() == ERROR_INVALID_PRINTER_NAME;
    }
    DWORD needed = 0;
    ::GetPrinterA(printer.get(), 2, nullptr, 0, &needed);
    if (needed == 0) {
        return false;
    }
    std::vector<BYTE> buffer(needed);
    if (!::GetPrinterA(printer.get(), 2, buffer.data(), needed, &needed)) {
        return false;
    }
    auto* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer.data());
    std::string portName = port;
    info->pPortName = portName.data();
    // Left out, the queue's security settings are not rewritten along with its port.
    info->pSecurityDescriptor = nullptr;
    return ::SetPrinterA(printer.get(), 2, buffer.data(), 0) != 0;
}

bool SameQueue(const PrinterQueue& a, const PrinterQueue& b) {
    return a.name == b.name;
}

// A journal line: the queue's name and the port it goes back to. Neither holds a tab.
std::string JournalEntry(const PrinterQueue& queue) {
    return queue.name + '\t' + queue.port;
}

bool PointBack(const std::string& entry) {
    const auto tab = entry.find('\t');
    if (tab == std::string::npos) {
        return true;  // not ours to understand: dropped
    }
    return SetQueuePort(entry.substr(0, tab), entry.substr(tab + 1), true);
}

}  // namespace

CSpoolerPrinterQueues::CSpoolerPrinterQueues(std::filesystem::path journalFolder)
    : m_journal(std::move(journalFolder)) {
    m_journal.RecoverLeftovers(PointBack);
}

CSpoolerPrinterQueues::~CSpoolerPrinterQueues() {
    for (const PrinterQueue& queue : std::vector<PrinterQueue>(m_held)) {
        ReleaseQueue(queue);
    }
}

std::optional<std::vector<PrinterQueue>> CSpoolerPrinterQueues::EnumerateLocal() {
    DWORD needed = 0;
    DWORD count = 0;
    if (::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, nullptr, 0, &needed, &count)) {
        return std::vector<PrinterQueue>{};
    }
    if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER) {
        return std::nullopt;
    }
    std::vector<BYTE> buffer(needed);
    if (!::EnumPrintersA(PRINTER_ENUM_LOCAL, nullptr, 2, buffer.data(), needed, &needed, &count)) {
        return std::nullopt;
    }
    std::vector<PrinterQueue> queues;
    const auto* info = reinterpret_cast<const PRINTER_INFO_2A*>(buffer.data());
    for (DWORD i = 0; i < count; ++i) {
        queues.push_back({info[i].pPrinterName ? info[i].pPrinterName : "",
                          info[i].pPortName ? info[i].pPortName : ""});
    }
    return queues;
}

bool CSpoolerPrinterQueues::HoldQueue(const PrinterQueue& queue) {
    if (std::any_of(m_held.begin(), m_held.end(),
                    [&](const PrinterQueue& each) { return SameQueue(each, queue); })) {
        return true;
    }
    // Recorded before it is changed, so that no crash can leave it on "FILE:" unrecorded.
    if (!m_journal.Add(JournalEntry(queue))) {
        return false;
    }
    if (!SetQueuePort(queue.name, kFilePort)) {
        m_journal.Remove(JournalEntry(queue));
        return false;
    }
    m_held.push_back(queue);
    return true;
}

// A queue this object did not point at "FILE:" is not ours to rewrite.
bool CSpoolerPrinterQueues::ReleaseQueue(const PrinterQueue& queue) {
    const auto held = [&](const PrinterQueue& each) { return SameQueue(each, queue); };
    if (std::none_of(m_held.begin(), m_held.end(), held)) {
        return true;
    }
    if (!SetQueuePort(queue.name, queue.port, true)) {
        return false;  // stays in the journal; the next program to start tries again
    }
    for (const PrinterQueue& each : m_held) {
        if (SameQueue(each, queue)) {
            m_journal.Remove(JournalEntry(each));
        }
    }
    std::erase_if(m_held, held);
    return true;
}
