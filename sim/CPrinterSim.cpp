#include "CPrinterSim.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <thread>
#include <utility>

namespace {

using Clock = std::chrono::steady_clock;

constexpr std::size_t kReadSize = 4096;

void CloseFd(int& fd) {
    if (fd >= 0) {
        ::close(fd);
        fd = -1;
    }
}

int OpenPtyMaster(std::string& slavePath) {
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
    if (master < 0) {
        return -1;
    }
    char name[128];
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 ||
        ::ptsname_r(master, name, sizeof name) != 0) {
        ::close(master);
        return -1;
    }
    slavePath = name;
    return master;
}

int OpenListener(std::uint16_t port, std::uint16_t& boundPort) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return -1;
    }
    const int reuse = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(fd, 1) != 0 ||
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        ::close(fd);
        return -1;
    }
    boundPort = ntohs(address.sin_port);
    return fd;
}

}  // namespace

CPrinterSim::CPrinterSim(SimOptions options)
    : m_options(options), m_pace(options.pace), m_log(options.logLimits) {}

CPrinterSim::~CPrinterSim() {
    Stop();
}

bool CPrinterSim::Start() {
    if (::pipe2(m_wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        return false;
    }
    if (m_options.pty && !OpenPty()) {
        Stop();
        return false;
    }
    m_unplugPending = m_options.unplugAtBlock > 0;
    if (m_options.tcp) {
        m_listener = OpenListener(m_options.tcpPort, m_tcpPort);
        if (m_listener < 0) {
            Stop();
            return false;
        }
    }
    m_thread = std::thread(&CPrinterSim::Run, this);
    return true;
}

void CPrinterSim::Stop() {
    m_stop = true;
    if (m_wake[1] >= 0) {
        const char wakeByte = 1;
        [[maybe_unused]] ssize_t written = ::write(m_wake[1], &wakeByte, 1);
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
    CloseFd(m_client);
    CloseFd(m_queued);
    CloseFd(m_listener);
    CloseFd(m_slaveKeeper);
    CloseFd(m_master);
    CloseFd(m_wake[0]);
    CloseFd(m_wake[1]);
    std::lock_guard lock(m_lineMutex);
    if (m_link) {
        m_link->Remove();
        m_link.reset();
    }
}

bool CPrinterSim::OpenPty() {
    std::string path;
    const int master = OpenPtyMaster(path);
    // Holding the slave open keeps the line alive between two hosts; without it the master
    // reads EIO as soon as a host closes the port.
    int keeper = master < 0 ? -1 : ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    SimLine line;
    {
        std::lock_guard lock(m_stateMutex);
        line = m_protocol.Line();
    }
    if (keeper < 0 || !ProgramPtyLine(keeper, line)) {
        CloseFd(keeper);
        int unused = master;
        CloseFd(unused);
        return false;
    }
    m_master = master;
    m_slaveKeeper = keeper;
    std::lock_guard lock(m_lineMutex);
    m_devicePath = path;
    if (m_link) {
        m_link->PointAt(path);
    }
    m_pluggedIn = true;
    m_lineChanged.notify_all();
    return true;
}

std::string CPrinterSim::DevicePath() const {
    std::lock_guard lock(m_lineMutex);
    return m_devicePath;
}

CSimDeviceLink::Result CPrinterSim::LinkTo(const std::string& path) {
    std::lock_guard lock(m_lineMutex);
    CSimDeviceLink link(path);
    // Unplugged now: the link is made when the line comes back.
    const auto result = m_pluggedIn ? link.PointAt(m_devicePath) : CSimDeviceLink::Result::Made;
    if (result == CSimDeviceLink::Result::Made) {
        m_link = std::move(link);
    }
    return result;
}

bool CPrinterSim::WaitPluggedIn(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(m_lineMutex);
    return m_lineChanged.wait_for(lock, timeout, [this] { return m_pluggedIn; });
}

void CPrinterSim::InjectFault(const SimFault& fault) {
    std::lock_guard lock(m_stateMutex);
    m_fault = fault;
}

void CPrinterSim::SetPacing(bool pace) {
    std::lock_guard lock(m_stateMutex);
    m_pace = pace;
}

void CPrinterSim::WithProtocol(const std::function<void(CSimProtocol&)>& use) {
    std::lock_guard lock(m_stateMutex);
    use(m_protocol);
}

CSimProtocol::Record CPrinterSim::Current() {
    std::lock_guard lock(m_stateMutex);
    return m_protocol.Current();
}

void CPrinterSim::ClearLog() {
    m_log.Clear();
    m_bytesSent = 0;
}

void CPrinterSim::Run() {
    // Pacing sleeps to the microsecond; the default 50 us timer slack would stretch every turn.
    ::prctl(PR_SET_TIMERSLACK, 1UL);
    while (!m_stop) {
        std::vector<pollfd> fds{{m_wake[0], POLLIN, 0}};
        if (m_master >= 0) {
            fds.push_back({m_master, POLLIN, 0});
        }
        if (m_listener >= 0) {
            fds.push_back({m_listener, POLLIN, 0});
        }
        if (m_client >= 0) {
            fds.push_back({m_client, POLLIN, 0});
        }
        int timeout = -1;
        if (m_plugInAt) {
            const auto left =
                std::chrono::ceil<std::chrono::milliseconds>(*m_plugInAt - Clock::now());
            timeout = static_cast<int>(std::max<long long>(0, left.count()));
        }
        if (::poll(fds.data(), fds.size(), timeout) < 0 && errno != EINTR) {
            return;
        }
        if (m_plugInAt && Clock::now() >= *m_plugInAt) {
            PlugIn();
        }
        for (const pollfd& ready : fds) {
            if (m_stop || ready.revents == 0) {
                continue;
            }
            if (ready.fd == m_master) {
                ServePty();
            } else if (ready.fd == m_listener) {
                ServeListener();
            } else if (ready.fd == m_client) {
                ServeClient();
            }
        }
    }
}

void CPrinterSim::ServeListener() {
    const int client = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
    if (client < 0) {
        return;
    }
    // One host at a time, as on a serial line: the next one waits its turn (its requests stay
    // in its socket until then), never cutting off the one in the middle of a conversation.
    // Beyond that one, newcomers are turned away.
    if (m_client < 0) {
        m_client = client;
    } else if (m_queued < 0) {
        m_queued = client;
    } else {
        ::close(client);
    }
}

void CPrinterSim::EndClient() {
    CloseFd(m_client);
    m_client = std::exchange(m_queued, -1);
}

void CPrinterSim::ServePty() {
    std::vector<std::uint8_t> bytes(kReadSize);
    const ssize_t got = ::read(m_master, bytes.data(), bytes.size());
    if (got > 0) {
        bytes.resize(static_cast<std::size_t>(got));
        HandleInput(std::move(bytes), Source::Pty);
    }
}

void CPrinterSim::ServeClient() {
    std::vector<std::uint8_t> bytes(kReadSize);
    const ssize_t got = ::recv(m_client, bytes.data(), bytes.size(), 0);
    if (got <= 0) {
        EndClient();
        return;
    }
    bytes.resize(static_cast<std::size_t>(got));
    HandleInput(std::move(bytes), Source::Tcp);
}

std::chrono::nanoseconds CPrinterSim::ByteTime() {
    const SimLine line = m_protocol.Line();
    const long long bits = 1 + 8 + (line.parity != 0 ? 1 : 0) + (line.twoStopBits ? 2 : 1);
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / line.baudRate);
}

void CPrinterSim::HandleInput(std::vector<std::uint8_t> bytes, Source source) {
    bool pace = false;
    Clock::time_point heard{};
    {
        std::lock_guard lock(m_stateMutex);
        pace = m_pace;
        if (pace) {
            m_inputWireClock = std::max(m_inputWireClock, Clock::now()) +
                               ByteTime() * static_cast<long long>(bytes.size());
            heard = m_inputWireClock;
        }
    }
    if (pace && !SleepUntil(heard)) {
        return;
    }
    LineVerdict verdict = LineVerdict::Match;
    CSimProtocol::Output out;
    bool printed = false;
    bool unplug = false;
    CSimProtocol::Record record{};
    {
        std::lock_guard lock(m_stateMutex);
        if (source == Source::Pty && m_options.checkLine) {
            const auto host = ReadHostLine(m_master);
            verdict = host ? JudgeHostLine(*host, m_protocol.Line(),
                                           m_protocol.ListensToAnyHandshake(bytes))
                           : LineVerdict::WrongSpeed;
        }
        if (verdict == LineVerdict::Match) {
            record = m_protocol.Current();
            const bool wasInBootArea = m_protocol.InBootArea();
            out = m_protocol.Feed(bytes);
            // A load is not a receipt: neither the bytes that start it nor its blocks print.
            printed = !wasInBootArea && !m_protocol.InBootArea();
            unplug = m_unplugPending &&
                     m_protocol.BootArea().AtBlockOfFirstProgramLoad(m_options.unplugAtBlock);
            m_unplugPending = m_unplugPending && !unplug;
        }
    }
    m_log.Heard(bytes, out.commands);
    if (printed && m_printListener) {
        m_printListener(bytes, record);
    }
    if (verdict == LineVerdict::WrongSpeed) {
        // At the wrong speed every byte arrives as a framing error and the printer answers
        // with noise, if at all.
        std::vector<std::uint8_t> noise(bytes.size());
        for (auto& b : noise) {
            m_noise = m_noise * 1664525u + 1013904223u;
            b = static_cast<std::uint8_t>(m_noise >> 24);
        }
        WriteAll(noise.data(), noise.size(), source);
        return;
    }
    if (!out.reply.empty()) {
        SendReply(std::move(out.reply), source);
    }
    if (unplug) {
        Unplug(source);
    }
}

void CPrinterSim::SendReply(std::vector<std::uint8_t> reply, Source source) {
    SimFault fault;
    {
        std::lock_guard lock(m_stateMutex);
        fault = m_fault;
    }
    switch (fault.kind) {
        case SimFaultKind::None:
            WritePaced(reply.data(), reply.size(), source);
            return;
        case SimFaultKind::Silence:
            return;
        case SimFaultKind::WrongLength:
            reply.resize(static_cast<std::size_t>(
                std::max(0, static_cast<int>(reply.size()) + fault.lengthDelta)));
            WritePaced(reply.data(), reply.size(), source);
            return;
        case SimFaultKind::Trickle:
            for (std::size_t i = 0; i < reply.size(); ++i) {
                if ((i > 0 && !SleepUntil(Clock::now() + fault.trickleGap)) ||
                    !WritePaced(&reply[i], 1, source)) {
                    return;
                }
            }
            return;
        case SimFaultKind::HangUp:
            WritePaced(reply.data(), std::min(fault.hangUpAfter, reply.size()), source);
            CloseSource(source);
            return;
    }
}

// A hang-up of the pseudo-terminal closes every master-side descriptor; the host then sees
// POLLHUP and EIO, as with an unplugged adapter.
void CPrinterSim::CloseSource(Source source) {
    if (source == Source::Tcp) {
        EndClient();
        return;
    }
    CloseFd(m_slaveKeeper);
    CloseFd(m_master);
}

// Pulled out like an adapter: the device and its link are gone and the host sees its line hang
// up; the printer keeps its state and comes back on a new device a while later. A TCP host just
// loses its connection.
void CPrinterSim::Unplug(Source source) {
    if (source == Source::Pty) {
        WaitForHostRequest();
        std::lock_guard lock(m_lineMutex);
        if (m_link) {
            m_link->Remove();
        }
        m_pluggedIn = false;
        m_plugInAt = Clock::now() + m_options.replugAfter;
    }
    CloseSource(source);
    std::lock_guard lock(m_stateMutex);
    m_protocol.LineLost();
}

void CPrinterSim::WaitForHostRequest() {
    constexpr int kHostReplyWatchMs = 2000;
    pollfd fds[2] = {{m_master, POLLIN, 0}, {m_wake[0], POLLIN, 0}};
    ::poll(fds, 2, kHostReplyWatchMs);
}

void CPrinterSim::PlugIn() {
    m_plugInAt.reset();
    if (!OpenPty()) {
        m_plugInAt = Clock::now() + m_options.replugAfter;  // no pseudo-terminal now: later
    }
}

bool CPrinterSim::WritePaced(const std::uint8_t* data, std::size_t length, Source source) {
    std::chrono::nanoseconds byteTime{};
    bool pace = false;
    {
        std::lock_guard lock(m_stateMutex);
        pace = m_pace;
        byteTime = ByteTime();
    }
    if (!pace) {
        return WriteAll(data, length, source);
    }
    // Slices of about a millisecond, each written when the wire would have carried it.
    const std::size_t slice = std::max<std::size_t>(
        1, static_cast<std::size_t>(std::chrono::nanoseconds(std::chrono::milliseconds(1)) /
                                    byteTime));
    auto due = Clock::now();
    for (std::size_t done = 0; done < length;) {
        const std::size_t now = std::min(slice, length - done);
        due += byteTime * static_cast<long long>(now);
        if (!SleepUntil(due) || !WriteAll(data + done, now, source)) {
            return false;
        }
        done += now;
    }
    return true;
}

bool CPrinterSim::WriteAll(const std::uint8_t* data, std::size_t length, Source source) {
    const int fd = source == Source::Pty ? m_master : m_client;
    std::size_t done = 0;
    while (done < length && fd >= 0 && !m_stop) {
        const ssize_t n = source == Source::Pty
                              ? ::write(fd, data + done, length - done)
                              : ::send(fd, data + done, length - done, MSG_NOSIGNAL);
        if (n > 0) {
            m_log.Said(data + done, static_cast<std::size_t>(n));
            done += static_cast<std::size_t>(n);
            m_bytesSent += static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd fds[2] = {{fd, POLLOUT, 0}, {m_wake[0], POLLIN, 0}};
            ::poll(fds, 2, 100);
            continue;
        }
        return false;
    }
    return done == length;
}

bool CPrinterSim::SleepUntil(Clock::time_point until) {
    // The kernel wakes a sleeper tens of microseconds late, which at 115200 bit/s is several
    // bytes per turn; the last stretch is therefore waited out awake.
    constexpr auto kAwake = std::chrono::microseconds(150);
    while (!m_stop) {
        const auto left =
            std::chrono::duration_cast<std::chrono::microseconds>(until - Clock::now());
        if (left.count() <= 0) {
            return true;
        }
        if (left <= kAwake) {
            std::this_thread::yield();
            continue;
        }
        const auto asleep = left - kAwake;
        pollfd wake{m_wake[0], POLLIN, 0};
        const timespec span{static_cast<time_t>(asleep.count() / 1'000'000),
                            static_cast<long>(asleep.count() % 1'000'000) * 1000};
        ::ppoll(&wake, 1, &span, nullptr);
    }
    return false;
}
