// What the reader thread does alike on every system; the waits are in CReaderThread_posix.cpp
// and CReaderThread_win32.cpp.
#include "CReaderThread.h"

#include "ThreadExit.h"

CReaderThread::~CReaderThread() {
    Stop();
}

// Joins unless called on the reader itself (from inside a callback), which then ends on its own
// once the callback returns and finds the stop flag.
void CReaderThread::Stop() {
    if (!m_shared) {
        return;
    }
    RaiseStop(*m_shared);
    JoinOrDetach(m_thread);
    m_shared.reset();
}
