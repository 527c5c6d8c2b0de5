#include "CPortQueueHold.h"

#include "PortName.h"
#include "QueueWarning.h"

CPortQueueHold::CPortQueueHold(IPrinterQueues& queues, const std::string& portName,
                               IUserNotifier& notifier)
    : m_map(queues), m_portName(QueuePortName(portName)) {
    m_map.Redirect(m_portName);
    WarnQueuesNotHeld(notifier, m_map.Refused());
}

CPortQueueHold::~CPortQueueHold() {
    m_map.Restore(m_portName);
}
