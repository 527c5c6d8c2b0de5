#include "ProgramQueues.h"

#include "CLockedPrinterQueues.h"
#include "SystemPrinterQueues.h"

// Several ports may be held at once, each from its own thread.
IPrinterQueues& ProgramQueues() {
    static const auto system = OpenSystemPrinterQueues();
    static CLockedPrinterQueues queues(*system);
    return queues;
}
