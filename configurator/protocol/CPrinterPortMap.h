#pragma once

#include <map>
#include <string>
#include <vector>

#include "PrinterQueues.h"

// The local printer queues by the exact port string they print to. While the configurator holds
// a port, the queues of that port print to "FILE:" and are switched back afterwards.
class CPrinterPortMap {
public:
    struct Entry {
        bool m_bRedirected = false;
        std::vector<std::string> m_printers;
    };

    explicit CPrinterPortMap(IPrinterQueues& queues);

    void Redirect(const std::string& portName);
    void Restore(const std::string& portName);

    const std::map<std::string, Entry>& Entries() const { return m_entries; }

private:
    // Points every queue of the entry at the given port; false when the queues could not be
    // enumerated.
    bool SwitchQueues(const Entry& entry, const std::string& port);

    IPrinterQueues& m_queues;
    std::map<std::string, Entry> m_entries;
};
