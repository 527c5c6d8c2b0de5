#pragma once

#include <string>

#include "CPrinterPortMap.h"
#include "PrinterQueues.h"
#include "UserNotifier.h"

// Keeps the printer queues of one port off it for the object's lifetime, for programs that hold
// the port outside a printer connection (a firmware load). Queues that could not be held are
// named in one warning.
class CPortQueueHold {
public:
    CPortQueueHold(IPrinterQueues& queues, const std::string& portName, IUserNotifier& notifier);
    CPortQueueHold(const CPortQueueHold&) = delete;
    CPortQueueHold& operator=(const CPortQueueHold&) = delete;
    ~CPortQueueHold();

private:
    CPrinterPortMap m_map;
    std::string m_portName;
};
