#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <cstring>
#include <mutex>
#include <optional>

#include "CSocketTransport.h"

namespace {

// Once per process; the library stays loaded until the process ends. 0, or why it failed.
int StartSockets() {
    static std::once_flag once;
    static int failure = 0;
    std::call_once(once, [] {
        WSADATA data{};
        failure = ::WSAStartup(MAKEWORD(2, 2), &data);
    });
    return failure;
}

// A dotted IPv4 address is used as it is; anything else is looked up, first address wins.
std::optional<in_addr> ResolveHost(const std::string& host) {
    in_addr address{};
    if (::inet_pton(AF_INET, host.c_str(), &address) == 1) {
        return address;
    }
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr) {
        return std::nullopt;
    }
    address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return address;
}

// The socket is non-blocking once it reports events; a full send buffer is waited out here.
bool WaitWritable(SOCKET socket) {
    fd_set writable;
    FD_ZERO(&writable);
    FD_SET(socket, &writable);
    return ::select(0, nullptr, &writable, nullptr, nullptr) == 1;
}

}  // namespace

CSocketTransport::CSocketTransport(IInputSink* owner, std::string host, int hostPort,
                                   IUserNotifier* notifier, std::chrono::milliseconds connectLimit)
    : m_pChannel(owner),
      m_strHost(std::move(host)),
      m_hostPort(hostPort),
      m_notifier(notifier),
      m_connectLimit(connectLimit) {}

CSocketTransport::~CSocketTransport() {
    Close();
}

bool CSocketTransport::Open() {
    if (m_socket != INVALID_SOCKET) {
        return false;
    }
    m_failure = {};
    if (const int failure = StartSockets(); failure != 0) {
        if (m_notifier != nullptr) {
            m_notifier->ShowMessage("Failed to Initialize Sockets", "Error!", MessageIcon::Error);
        }
        return Fail(OpenFailureKind::SystemError, failure);
    }
    const auto address = ResolveHost(m_strHost);
    if (!address) {
        return Fail(OpenFailureKind::HostNotFound);
    }
    if (m_hostPort <= 0 || m_hostPort > 65535) {
        return Fail(OpenFailureKind::SystemError, WSAEINVAL);
    }
    m_socket = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_socket == INVALID_SOCKET) {
        return Fail(OpenFailureKind::SystemError, ::WSAGetLastError());
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<u_short>(m_hostPort));
    peer.sin_addr = *address;
    const BOOL noDelay = TRUE;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
                 sizeof noDelay);
    if (!ConnectWithin(&peer, sizeof peer) || !StartReceiving()) {
        Close();
        return false;
    }
    m_bConnected = true;
    return true;
}

// The socket stays non-blocking from here on: it reports its events to the reader thread, and
// Write waits out a full send buffer itself.
bool CSocketTransport::ConnectWithin(const void* peer, unsigned peerSize) {
    u_long nonBlocking = 1;
    ::ioctlsocket(m_socket, FIONBIO, &nonBlocking);
    if (::connect(m_socket, static_cast<const sockaddr*>(peer), static_cast<int>(peerSize)) == 0) {
        return true;
    }
    const int error = ::WSAGetLastError();
    if (error != WSAEWOULDBLOCK) {
        return Fail(OpenFailureKind::SystemError, error);
    }
    fd_set writable;
    fd_set failed;
    FD_ZERO(&writable);
    FD_ZERO(&failed);
    FD_SET(m_socket, &writable);
    FD_SET(m_socket, &failed);
    const auto ms = m_connectLimit.count();
    timeval limit{static_cast<long>(ms / 1000), static_cast<long>(ms % 1000 * 1000)};
    const int ready = ::select(0, nullptr, &writable, &failed, &limit);
    if (ready == 0) {
        return Fail(OpenFailureKind::ConnectTimedOut);
    }
    if (ready == SOCKET_ERROR) {
        return Fail(OpenFailureKind::SystemError, ::WSAGetLastError());
    }
    int result = 0;
    int size = sizeof result;
    ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&result), &size);
    return result == 0 || Fail(OpenFailureKind::SystemError, result);
}

bool CSocketTransport::StartReceiving() {
    m_socketEvent = ::WSACreateEvent();
    if (m_socketEvent == WSA_INVALID_EVENT) {
        m_socketEvent = nullptr;
        return Fail(OpenFailureKind::SystemError, ::WSAGetLastError());
    }
    if (::WSAEventSelect(m_socket, m_socketEvent, FD_READ | FD_CLOSE) != 0) {
        return Fail(OpenFailureKind::SystemError, ::WSAGetLastError());
    }
    CReaderThread::Callbacks callbacks;
    callbacks.waitForInput = [this](void* stopEvent) { return WaitForInput(stopEvent); };
    callbacks.onReadable = [this] { Receive(); };
    callbacks.isHungUp = [this] { return m_peerGone.load(); };
    callbacks.onHangUp = [this] { m_pChannel->OnHangUp(); };
    return m_reader.Start(std::move(callbacks)) || Fail(OpenFailureKind::NoThread);
}

// A system error is told by its code (a refused connection among them).
bool CSocketTransport::Fail(OpenFailureKind kind, int error) {
    const std::string device = m_strHost + ":" + std::to_string(m_hostPort);
    if (kind == OpenFailureKind::SystemError) {
        m_failure = ClassifyOpenError(device, error);
    } else {
        m_failure = OpenFailure(kind, device);
    }
    return false;
}

bool CSocketTransport::Close() {
    if (m_socket == INVALID_SOCKET) {
        return false;
    }
    m_reader.Stop();
    ::closesocket(m_socket);
    m_socket = INVALID_SOCKET;
    if (m_socketEvent != nullptr) {
        ::WSACloseEvent(m_socketEvent);
    }
    m_socketEvent = nullptr;
    return true;
}

// Runs on the reader thread. A peer's close arrives as readable: the receive then finds 0 bytes.
bool CSocketTransport::WaitForInput(void* stopEvent) {
    const HANDLE events[2] = {m_socketEvent, stopEvent};
    if (::WSAWaitForMultipleEvents(2, events, FALSE, WSA_INFINITE, FALSE) != WSA_WAIT_EVENT_0) {
        return false;
    }
    WSANETWORKEVENTS happened{};
    if (::WSAEnumNetworkEvents(m_socket, m_socketEvent, &happened) != 0) {
        m_peerGone = true;
        return false;
    }
    return (happened.lNetworkEvents & (FD_READ | FD_CLOSE)) != 0;
}

int CSocketTransport::Write(const std::uint8_t* data, int length) {
    if (m_socket == INVALID_SOCKET || data == nullptr) {
        return -1;
    }
    int sent = 0;
    while (sent < length) {
        const int n =
            ::send(m_socket, reinterpret_cast<const char*>(data + sent), length - sent, 0);
        if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK && WaitWritable(m_socket)) {
            continue;
        }
        if (n <= 0) {
            return -1;
        }
        sent += n;
    }
    return sent;
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
    const int got = ::recv(m_socket, reinterpret_cast<char*>(received), room, 0);
    if (got == 0) {
        m_peerGone = true;
        Report("ERROR #4");
        return;
    }
    if (got == SOCKET_ERROR) {
        if (::WSAGetLastError() != WSAEWOULDBLOCK) {
            m_peerGone = true;
            Report("ERROR #5");
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

void CSocketTransport::Report(const char* text) {
    if (m_notifier != nullptr) {
        m_notifier->ShowMessage(text, m_notifier->ApplicationTitle(), MessageIcon::Error);
    }
}
