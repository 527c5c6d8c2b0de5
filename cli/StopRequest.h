#pragma once

// Ctrl+C (and a termination request) for a run that ends cleanly between its steps: once
// watched, the signal no longer ends the program; it is only noted.
void WatchForStopRequest();
bool StopRequested();
