#pragma once

#include <thread>

// Ends the ownership of a worker thread. A worker that is told to stop from inside one of its own
// callbacks cannot be joined by itself: it is detached and leaves on its own once the callback
// returns, touching nothing but the state it shares with its stopper.
inline void JoinOrDetach(std::thread& worker) {
    if (!worker.joinable()) {
        return;
    }
    if (worker.get_id() == std::this_thread::get_id()) {
        worker.detach();
    } else {
        worker.join();
    }
}
