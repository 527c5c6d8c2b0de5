// What the TCP transport does alike on every system; the system calls are in
// CSocketTransport_posix.cpp and CSocketTransport_win32.cpp.
#include <algorithm>
#include <cstring>

#include "CSocketTransport.h"

CSocketTransport::CSocketTransport(IInputSink* owner, std::string host, int hostPort,
                                   std::chrono::milliseconds connectLimit)
    : m_pChannel(owner),
      m_strHost(std::move(host)),
      m_hostPort(hostPort),
      m_connectLimit(connectLimit) {}

CSocketTransport::~CSocketTransport() {
    Close();
}

// A system error is told by its errno or Winsock code (a refused connection among them).
bool CSocketTransport::Fail(OpenFailureKind kind, int error, Unstarted unstarted) {
    const std::string device = m_strHost + ":" + std::to_string(m_hostPort);
    if (kind == OpenFailureKind::SystemError) {
        m_failure = ClassifyOpenError(device, error);
    } else {
        m_failure = OpenFailure(kind, device);
    }
    m_failure.unstarted = unstarted;
    return false;
}

int CSocketTransport::Read(std::uint8_t* buffer, int capacity) {
    std::lock_guard lock(m_rxMutex);
    if (capacity < m_rxCount) {
        return 0;
    }
    const int count = m_rxCount;
    std::memcpy(buffer, m_rxStore, static_cast<size_t>(count));
    m_rxCount = 0;
    return count;
}

// Runs on the reader thread. The store holds one receive at most: the owner takes everything
// before the next receive, and what does not fit waits in the socket.
void CSocketTransport::Receive() {
    std::uint8_t received[kReceiveSize];
    int room = 0;
    {
        std::lock_guard lock(m_rxMutex);
        room = std::min(kReceiveSize, kStoreSize - m_rxCount);
    }
    if (room == 0) {
        return;
    }
    const int got = ReceiveSome(received, room);
    if (got == 0) {
        LoseLine(LineLoss::PeerClosed);
        return;
    }
    if (got < 0) {
        if (got == kConnectionFailed) {
            LoseLine(LineLoss::ReceiveFailed);
        }
        return;
    }
    {
        std::lock_guard lock(m_rxMutex);
        std::memcpy(m_rxStore + m_rxCount, received, static_cast<size_t>(got));
        m_rxCount += got;
    }
    m_pChannel->OnDataAvailable();
}

void CSocketTransport::LoseLine(LineLoss loss) {
    m_lineLoss = loss;
    m_peerGone = true;
}
