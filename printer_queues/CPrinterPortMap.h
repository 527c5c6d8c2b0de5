#pragma once

#include <map>
#include <string>
#include <vector>

#include "PrinterQueues.h"

// The local printer queues by the exact port string they print to. While a program holds a port,
// the queues of that port are held off it (see IPrinterQueues::HoldQueue) and released afterwards.
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
    // The queues the last Redirect could not hold: they may still print to the port.
    const std::vector<std::string>& Refused() const { return m_refused; }

private:
    // Holds or releases every queue of the entry; false when the queues could not be enumerated.
    bool SwitchQueues(const std::string& portName, const Entry& entry, bool hold);

    IPrinterQueues& m_queues;
    std::map<std::string, Entry> m_entries;
    std::vector<std::string> m_refused;
};
