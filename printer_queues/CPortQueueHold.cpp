#include "CPortQueueHold.h"

#include "PortName.h"

CPortQueueHold::CPortQueueHold(IPrinterQueues& queues, const std::string& portName)
    : m_map(queues), m_portName(QueuePortName(portName)) {
    m_map.Redirect(m_portName);
}

CPortQueueHold::~CPortQueueHold() {
    m_map.Restore(m_portName);
}
