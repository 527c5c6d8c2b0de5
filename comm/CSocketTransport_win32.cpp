#include <winsock2.h>
#include <ws2tcpip.h>

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

bool CSocketTransport::Open() {
    if (m_socket != INVALID_SOCKET) {
        return false;
    }
    m_failure = {};
    if (const int failure = StartSockets(); failure != 0) {
        return Fail(OpenFailureKind::SystemError, failure, Unstarted::Sockets);
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
    return m_reader.Start(std::move(callbacks)) ||
           Fail(OpenFailureKind::NoThread, 0, Unstarted::SocketReader);
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
        return 0;
    }
    int sent = 0;
    while (sent < length) {
        const int n =
            ::send(m_socket, reinterpret_cast<const char*>(data + sent), length - sent, 0);
        if (n == SOCKET_ERROR && ::WSAGetLastError() == WSAEWOULDBLOCK && WaitWritable(m_socket)) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        sent += n;
    }
    return sent;
}

// One receive of up to room bytes: the count, 0 when the peer closed, -1 when nothing came after
// all, -2 when the connection failed.
int CSocketTransport::ReceiveSome(std::uint8_t* into, int room) {
    const int got = ::recv(m_socket, reinterpret_cast<char*>(into), room, 0);
    if (got != SOCKET_ERROR) {
        return got;
    }
    return ::WSAGetLastError() == WSAEWOULDBLOCK ? kNothingYet : kConnectionFailed;
}
