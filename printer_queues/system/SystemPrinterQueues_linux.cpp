#include "CCupsPrinterQueues.h"
#include "SystemPrinterQueues.h"

std::unique_ptr<IPrinterQueues> OpenSystemPrinterQueues() {
    return std::make_unique<CCupsPrinterQueues>();
}
