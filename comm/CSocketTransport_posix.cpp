#include "CSocketTransport.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
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
                                   IUserNotifier* notifier)
    : m_pChannel(owner), m_strHost(std::move(host)), m_hostPort(hostPort), m_notifier(notifier) {}

CSocketTransport::~CSocketTransport() {
    Close();
}

bool CSocketTransport::Open() {
    if (m_socket >= 0) {
        return false;
    }
    const auto address = ResolveHost(m_strHost);
    if (!address || m_hostPort <= 0 || m_hostPort > 65535) {
        return false;
    }
    m_socket = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (m_socket < 0) {
        return false;
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
    if (::connect(m_socket, reinterpret_cast<const sockaddr*>(&peer), sizeof peer) != 0 ||
        !m_reader.Start(m_socket, std::move(callbacks))) {
        ::close(m_socket);
        m_socket = -1;
        return false;
    }
    m_bConnected = true;
    return true;
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
