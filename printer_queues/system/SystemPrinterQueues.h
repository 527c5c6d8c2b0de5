#pragma once

#include <memory>

#include "PrinterQueues.h"

// The printer queues of the system the program runs on (CUPS on Linux). Creating them starts
// again any queue that a program which ended while holding its port left stopped, so every
// program creates them first thing.
std::unique_ptr<IPrinterQueues> OpenSystemPrinterQueues();
