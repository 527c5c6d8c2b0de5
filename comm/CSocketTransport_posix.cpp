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
#include <cstring>
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
        opened = m_reader.Start(m_socket, std::move(callbacks)) || Fail(OpenFailureKind::NoThread);
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

// A system error is told by its errno (a refused connection among them).
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
        return -1;
    }
    int sent = 0;
    while (sent < length) {
        const ssize_t n =
            ::send(m_socket, data + sent, static_cast<size_t>(length - sent), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return -1;
        }
        sent += static_cast<int>(n);
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
    const ssize_t got = ::recv(m_socket, received, static_cast<size_t>(room), 0);
    if (got == 0) {
        m_peerGone = true;
        Report("ERROR #4");
        return;
    }
    if (got < 0) {
        if (errno != EINTR && errno != EAGAIN) {
            m_peerGone = true;
            Report("ERROR #5");
        }
        return;
    }
    {
        std::lock_guard lock(m_rxMutex);
        std::memcpy(m_rxStore + m_rxCount, received, static_cast<size_t>(got));
        m_rxCount += static_cast<int>(got);
    }
    m_pChannel->OnDataAvailable();
}

void CSocketTransport::Report(const char* text) {
    if (m_notifier != nullptr) {
        m_notifier->ShowMessage(text, m_notifier->ApplicationTitle(), MessageIcon::Error);
    }
}
