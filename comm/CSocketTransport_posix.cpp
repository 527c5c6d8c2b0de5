#include "CSocketTransport.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <optional>

namespace {

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

}  // namespace

bool CSocketTransport::Open() {
    if (m_socket >= 0) {
        return false;
    }
    m_failure = {};
    const auto address = ResolveHost(m_strHost);
    if (!address) {
        return Fail(OpenFailureKind::HostNotFound);
    }
    if (m_hostPort <= 0 || m_hostPort > 65535) {
        return Fail(OpenFailureKind::SystemError, EINVAL);
    }
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_socket < 0) {
        return Fail(OpenFailureKind::SystemError, errno);
    }
    sockaddr_in peer{};
    peer.sin_family = AF_INET;
    peer.sin_port = htons(static_cast<std::uint16_t>(m_hostPort));
    peer.sin_addr = *address;
    const int noDelay = 1;
    ::setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
    CReaderThread::Callbacks callbacks;
    callbacks.onReadable = [this] { Receive(); };
    callbacks.isHungUp = [this] { return m_peerGone.load(); };
    callbacks.onHangUp = [this] { m_pChannel->OnHangUp(); };
    bool opened = ConnectWithin(&peer, sizeof peer);
    if (opened) {
        // Connected: writes block again until every byte is sent.
        ::fcntl(m_socket, F_SETFL, ::fcntl(m_socket, F_GETFL) & ~O_NONBLOCK);
        opened = m_reader.Start(m_socket, std::move(callbacks)) ||
                 Fail(OpenFailureKind::NoThread, 0, Unstarted::SocketReader);
    }
    if (!opened) {
        ::close(m_socket);
        m_socket = -1;
        return false;
    }
    m_bConnected = true;
    return true;
}

bool CSocketTransport::ConnectWithin(const void* peer, unsigned peerSize) {
    if (::connect(m_socket, static_cast<const sockaddr*>(peer), peerSize) == 0) {
        return true;
    }
    if (errno != EINPROGRESS) {
        return Fail(OpenFailureKind::SystemError, errno);
    }
    pollfd connecting{m_socket, POLLOUT, 0};
    const auto deadline = std::chrono::steady_clock::now() + m_connectLimit;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        const int ready =
            ::poll(&connecting, 1, static_cast<int>(std::max<long long>(0, left.count())));
        if (ready > 0) {
            break;
        }
        if (ready == 0) {
            return Fail(OpenFailureKind::ConnectTimedOut);
        }
        if (errno != EINTR) {
            return Fail(OpenFailureKind::SystemError, errno);
        }
    }
    int error = 0;
    socklen_t size = sizeof error;
    ::getsockopt(m_socket, SOL_SOCKET, SO_ERROR, &error, &size);
    return error == 0 || Fail(OpenFailureKind::SystemError, error);
}

bool CSocketTransport::Close() {
    if (m_socket < 0) {
        return false;
    }
    m_reader.Stop();
    ::close(m_socket);
    m_socket = -1;
    return true;
}

int CSocketTransport::Write(const std::uint8_t* data, int length) {
    if (m_socket < 0 || data == nullptr) {
        return 0;
    }
    int sent = 0;
    while (sent < length) {
        const ssize_t n =
            ::send(m_socket, data + sent, static_cast<size_t>(length - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        sent += static_cast<int>(n);
    }
    return sent;
}

// One receive of up to room bytes: the count, 0 when the peer closed, -1 when nothing came after
// all, -2 when the connection failed.
int CSocketTransport::ReceiveSome(std::uint8_t* into, int room) {
    const ssize_t got = ::recv(m_socket, into, static_cast<size_t>(room), 0);
    if (got >= 0) {
        return static_cast<int>(got);
    }
    return errno == EINTR || errno == EAGAIN ? kNothingYet : kConnectionFailed;
}
