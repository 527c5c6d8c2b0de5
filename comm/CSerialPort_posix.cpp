#include "CSerialPort.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <thread>

#include "SerialLowLatency.h"
#include "SerialSpeed.h"
#include "SerialTermios_posix.h"

namespace {

using Clock = std::chrono::steady_clock;

int RemainingMs(Clock::time_point deadline) {
    auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

int QueuedOutput(int fd) {
    int queued = 0;
    if (::ioctl(fd, TIOCOUTQ, &queued) != 0) {
        return 0;
    }
    return queued;
}

// write() returns once the bytes are queued, not sent. Waits until the driver's output queue
// is empty, sleeping about as long as the queued bytes take on the wire rather than polling.
bool WaitForDrain(int fd, unsigned baudRate, Clock::time_point deadline) {
    for (;;) {
        const int queued = QueuedOutput(fd);
        if (queued <= 0) {
            return true;
        }
        const int left = RemainingMs(deadline);
        if (left == 0) {
            return false;
        }
        const long long wireMs = 1 + queued * 10LL * 1000 / std::max(1u, baudRate);
        std::this_thread::sleep_for(std::chrono::milliseconds(std::min<long long>(wireMs, left)));
    }
}

// The kernel's device list reserves the majors 136 to 143 for pseudo-terminal slaves (Linux puts
// every /dev/pts/N under 136); no serial driver is given one of them. The number goes with the
// device itself, whichever path, link or mount opened it. TIOCGPTN and ptsname() answer on the
// master side only.
constexpr unsigned kFirstPtySlaveMajor = 136;
constexpr unsigned kLastPtySlaveMajor = 143;

bool IsPseudoTerminal(int fd) {
    struct stat device {};
    if (::fstat(fd, &device) != 0 || !S_ISCHR(device.st_mode)) {
        return false;
    }
    const unsigned deviceMajor = major(device.st_rdev);
    return deviceMajor >= kFirstPtySlaveMajor && deviceMajor <= kLastPtySlaveMajor;
}

// The frame the driver must hold once programmed. A pseudo-terminal clears the parity bit on
// every set, and its other end could not see one anyway, so there parity is not asked of it.
bool FrameHeld(const termios& asked, const termios& held, bool pseudoTerminal) {
    tcflag_t frame = CSIZE | PARENB | PARODD | CREAD;
    if (pseudoTerminal) {
        frame &= ~static_cast<tcflag_t>(PARENB | PARODD);
    }
    return (asked.c_cflag & frame) == (held.c_cflag & frame);
}

// Debian's C library reads the line back after the driver took a set, and fails with EINVAL when
// it finds the line as it was before while the parity bit is missing: on a pseudo-terminal, every
// reopen of a parity line; other C libraries check nothing. So after EINVAL too, what the driver
// holds decides, alike on every C library.
bool SetLineAttributes(int fd, const termios& asked) {
    if (::tcsetattr(fd, TCSANOW, &asked) != 0 && errno != EINVAL) {
        return false;
    }
    termios held{};
    return ::tcgetattr(fd, &held) == 0 && FrameHeld(asked, held, IsPseudoTerminal(fd));
}

}  // namespace

CSerialPort::CSerialPort(IInputSink* owner, std::string portName, const SerialLineRequest& line)
    : m_pChannel(owner), m_strPortName(std::move(portName)), m_line(line) {}

CSerialPort::~CSerialPort() {
    Close();
}

// No sharing: the advisory lock keeps out every cooperating program (root included), and
// TIOCEXCL keeps out the others where the device supports it.
bool CSerialPort::OpenDevice() {
    m_fd = ::open(m_strPortName.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_fd < 0) {
        return Fail(ClassifyOpenError(m_strPortName, errno));
    }
    if (::flock(m_fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(m_fd);
        m_fd = -1;
        return Fail(ClassifyOpenError(m_strPortName, error));
    }
    ::ioctl(m_fd, TIOCEXCL);
    return true;
}

bool CSerialPort::ProgramLine() {
    termios tio{};
    if (::tcgetattr(m_fd, &tio) != 0) {
        return Fail(ClassifyOpenError(m_strPortName, errno));
    }
    ApplySerialLine(MapSerialLine(m_line), tio);
    if (!SetLineAttributes(m_fd, tio)) {
        return Fail({OpenFailureKind::LineRefused, m_strPortName});
    }
    const unsigned reported = SetSerialSpeed(m_fd, m_line.baudRate);
    if (!IsSpeedAcceptable(m_line.baudRate, reported)) {
        OpenFailure failure(OpenFailureKind::SpeedRefused, m_strPortName);
        failure.requestedSpeed = m_line.baudRate;
        failure.reportedSpeed = reported;
        return Fail(std::move(failure));
    }
    // Pseudo-terminals have no modem lines; that is not a failure.
    int lines = TIOCM_DTR | TIOCM_RTS;
    ::ioctl(m_fd, TIOCMBIS, &lines);
    RequestLowLatency(m_fd);
    // Whatever a previous user of the port left unread is not the answer to our requests.
    ::tcflush(m_fd, TCIFLUSH);
    return true;
}

bool CSerialPort::StartReader() {
    CReaderThread::Callbacks callbacks;
    callbacks.onReadable = [this] { m_pChannel->OnDataAvailable(); };
    callbacks.isHungUp = [this] { return m_readFailed.load(); };
    callbacks.onHangUp = [this] { m_pChannel->OnHangUp(); };
    return m_reader.Start(m_fd, std::move(callbacks));
}

bool CSerialPort::Close() {
    if (!m_bOpen) {
        return false;
    }
    m_bOpen = false;
    m_reader.Stop();
    int dtr = TIOCM_DTR;
    ::ioctl(m_fd, TIOCMBIC, &dtr);
    // Output is not purged: every write has already waited for its bytes to leave, and on a
    // pseudo-terminal a purge would take back bytes the other side has not read yet.
    ::tcflush(m_fd, TCIFLUSH);
    ReleaseDevice();
    return true;
}

// Every way out of an open port goes through here: an exclusive flag left behind would keep
// every later open by an ordinary user out until the device disappears.
void CSerialPort::ReleaseDevice() {
    if (m_fd >= 0) {
        ::ioctl(m_fd, TIOCNXCL);
        ::flock(m_fd, LOCK_UN);
        ::close(m_fd);
        m_fd = -1;
    }
}

int CSerialPort::Read(std::uint8_t* buffer, int capacity) {
    if (!m_bOpen || capacity <= 0) {
        return 0;
    }
    int waiting = 0;
    if (::ioctl(m_fd, FIONREAD, &waiting) != 0 || waiting <= 0) {
        return 0;
    }
    const ssize_t got = ::read(m_fd, buffer, static_cast<size_t>(std::min(waiting, capacity)));
    if (got > 0) {
        return static_cast<int>(got);
    }
    if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
        m_readFailed = true;
    }
    return 0;
}

int CSerialPort::Write(const std::uint8_t* data, int length) {
    if (!m_bOpen || data == nullptr || length <= 0) {
        return 0;
    }
    const auto deadline =
        Clock::now() + SerialWriteLimit(static_cast<std::size_t>(length), m_line.baudRate);
    int sent = 0;
    while (sent < length) {
        const ssize_t n = ::write(m_fd, data + sent, static_cast<size_t>(length - sent));
        if (n > 0) {
            sent += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0 && errno == EAGAIN) {
            pollfd out{m_fd, POLLOUT, 0};
            if (::poll(&out, 1, RemainingMs(deadline)) > 0) {
                continue;
            }
        }
        break;
    }
    if (!WaitForDrain(m_fd, m_line.baudRate, deadline)) {
        // Only what the time limit left behind is discarded.
        sent = std::max(0, sent - QueuedOutput(m_fd));
        PurgeOutput();
    }
    return sent;
}

bool CSerialPort::PurgeInput() {
    return m_bOpen && ::tcflush(m_fd, TCIFLUSH) == 0;
}

bool CSerialPort::PurgeOutput() {
    return m_bOpen && ::tcflush(m_fd, TCOFLUSH) == 0;
}
