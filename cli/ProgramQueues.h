#pragma once

#include "PrinterQueues.h"

// The system's printer queues for the whole run of tq20. The first call (main's) also starts
// again the queues a program that ended while holding its port left stopped.
IPrinterQueues& ProgramQueues();
