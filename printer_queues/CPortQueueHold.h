#pragma once

#include <string>
#include <vector>

#include "CPrinterPortMap.h"
#include "PrinterQueues.h"

// Keeps the printer queues of one port off it for the object's lifetime, for programs that hold
// the port outside a printer connection (a firmware load). The queues that could not be held are
// left for the program to name.
class CPortQueueHold {
public:
    CPortQueueHold(IPrinterQueues& queues, const std::string& portName);
    CPortQueueHold(const CPortQueueHold&) = delete;
    CPortQueueHold& operator=(const CPortQueueHold&) = delete;
    ~CPortQueueHold();

    // The queues that may still print to the port (no permission to stop them).
    const std::vector<std::string>& NotHeld() const { return m_map.Refused(); }

private:
    CPrinterPortMap m_map;
    std::string m_portName;
};
