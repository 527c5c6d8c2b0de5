#include "StopRequest.h"

#include <windows.h>

#include <atomic>

namespace {

std::atomic<bool> g_stop{false};

BOOL WINAPI NoteStop(DWORD) {
    g_stop = true;
    return TRUE;
}

}  // namespace

void WatchForStopRequest() {
    ::SetConsoleCtrlHandler(NoteStop, TRUE);
}

bool StopRequested() {
    return g_stop;
}
