#pragma once

#include <time.h>

// CPU time the whole process has used, in seconds: a spinning thread shows up here.
inline double ProcessCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) / 1e9;
}
