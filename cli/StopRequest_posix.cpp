#include "StopRequest.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> g_stop{false};

extern "C" void NoteStop(int) {
    g_stop = true;
}

}  // namespace

void WatchForStopRequest() {
    struct sigaction action {};
    action.sa_handler = NoteStop;
    sigemptyset(&action.sa_mask);
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

bool StopRequested() {
    return g_stop;
}
