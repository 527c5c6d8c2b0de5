#include "ProgramQueues.h"

#include "SystemPrinterQueues.h"

IPrinterQueues& ProgramQueues() {
    static const auto queues = OpenSystemPrinterQueues();
    return *queues;
}
