#include <windows.h>

#include <algorithm>
#include <chrono>

#include "CSerialPort.h"
#include "SerialDcb_win32.h"
#include "SerialSpeed.h"

namespace {

using Clock = std::chrono::steady_clock;

// A read asks only for bytes already queued; this bounds a driver that is slow to hand them over.
constexpr DWORD kReadLimitMs = 1000;
// Without event support (pseudo-terminals under Wine) the queue is looked at this often.
constexpr DWORD kEventlessPollMs = 5;
constexpr DWORD kQueueSize = 1024;

DWORD RemainingMs(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<DWORD>(std::max<long long>(0, left.count()));
}

HANDLE NewEvent() {
    return ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
}

// Ends an overlapped request that is still pending, so that its buffer and structure may go;
// returns what it transferred before it ended.
DWORD CancelPending(HANDLE port, OVERLAPPED& request) {
    ::CancelIoEx(port, &request);
    DWORD transferred = 0;
    ::GetOverlappedResult(port, &request, &transferred, TRUE);
    return transferred;
}

}  // namespace

struct CSerialPort::Win32Io {
    HANDLE port = INVALID_HANDLE_VALUE;
    OVERLAPPED read{};
    OVERLAPPED write{};
    OVERLAPPED wait{};

    Win32Io() {
        write.hEvent = NewEvent();
        read.hEvent = NewEvent();
        wait.hEvent = NewEvent();
    }
    ~Win32Io() {
        if (port != INVALID_HANDLE_VALUE) {
            ::CloseHandle(port);
        }
        for (HANDLE event : {read.hEvent, write.hEvent, wait.hEvent}) {
            if (event != nullptr) {
                ::CloseHandle(event);
            }
        }
    }
    bool Ready() const {
        return read.hEvent != nullptr && write.hEvent != nullptr && wait.hEvent != nullptr;
    }
    // Bytes in the driver's queues; false when the device no longer answers (unplugged).
    bool Queues(COMSTAT& stat) const {
        DWORD errors = 0;
        return ::ClearCommError(port, &errors, &stat) != 0;
    }
};

// Here, where the Windows I/O state is a complete type, so that it can be made and destroyed.
CSerialPort::CSerialPort(IInputSink* owner, std::string portName, const SerialLineRequest& line)
    : m_pChannel(owner), m_strPortName(std::move(portName)), m_line(line) {}

CSerialPort::~CSerialPort() {
    Close();
}

// No sharing: a second opener, another program included, is refused by the system.
bool CSerialPort::OpenDevice() {
    m_io = std::make_unique<Win32Io>();
    if (!m_io->Ready()) {
        const DWORD error = ::GetLastError();
        m_io.reset();
        return Fail(ClassifyOpenError(m_strPortName, static_cast<int>(error)));
    }
    m_io->port = ::CreateFileA(m_strPortName.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                               OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
    if (m_io->port == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        m_io.reset();
        return Fail(ClassifyOpenError(m_strPortName, static_cast<int>(error)));
    }
    ::SetCommMask(m_io->port, EV_RXCHAR);
    ::SetupComm(m_io->port, kQueueSize, kQueueSize);
    COMMTIMEOUTS timeouts{0xFFFF, 1, 5000, 1, 5000};
    ::SetCommTimeouts(m_io->port, &timeouts);
    return true;
}

// A handle that is no communications device (a file, NUL) answers neither ClearCommError nor
// GetCommState.
bool CSerialPort::ProgramLine() {
    COMSTAT stat{};
    if (!m_io->Queues(stat)) {
        return Fail({OpenFailureKind::NotSerial, m_strPortName});
    }
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    // The choice decides every field that matters; a driver that cannot report its state (Wine
    // on a pseudo-terminal has no modem lines to read) is programmed from a clean DCB.
    const bool reported = ::GetCommState(m_io->port, &dcb) != 0;
    if (!reported) {
        dcb = DCB{};
    }
    ApplySerialLine(MapSerialLine(m_line), dcb);
    if (!::SetCommState(m_io->port, &dcb)) {
        return Fail({OpenFailureKind::LineRefused, m_strPortName});
    }
    if (reported && !CheckSpeed()) {
        return false;
    }
    // Whatever a previous user of the port left unread is not the answer to our requests.
    ::PurgeComm(m_io->port, PURGE_RXCLEAR);
    return true;
}

// Drivers that take any rate may still run the line at the nearest one their clock allows.
bool CSerialPort::CheckSpeed() {
    DCB now{};
    now.DCBlength = sizeof now;
    if (!::GetCommState(m_io->port, &now) || IsSpeedAcceptable(m_line.baudRate, now.BaudRate)) {
        return true;
    }
    OpenFailure failure(OpenFailureKind::SpeedRefused, m_strPortName);
    failure.requestedSpeed = m_line.baudRate;
    failure.reportedSpeed = now.BaudRate;
    return Fail(std::move(failure));
}

bool CSerialPort::StartReader() {
    CReaderThread::Callbacks callbacks;
    callbacks.waitForInput = [this](void* stopEvent) { return WaitForInput(stopEvent); };
    callbacks.onReadable = [this] { m_pChannel->OnDataAvailable(); };
    callbacks.isHungUp = [this] { return m_readFailed.load(); };
    callbacks.onHangUp = [this] { m_pChannel->OnHangUp(); };
    return m_reader.Start(std::move(callbacks));
}

// Runs on the reader thread, the only one that uses the wait structure.
bool CSerialPort::WaitForInput(void* stopEvent) {
    DWORD mask = 0;
    DWORD ignored = 0;
    BOOL done = ::WaitCommEvent(m_io->port, &mask, &m_io->wait);
    if (!done && ::GetLastError() == ERROR_IO_PENDING) {
        const HANDLE events[2] = {m_io->wait.hEvent, stopEvent};
        if (::WaitForMultipleObjects(2, events, FALSE, INFINITE) != WAIT_OBJECT_0) {
            CancelPending(m_io->port, m_io->wait);
            return false;
        }
        done = ::GetOverlappedResult(m_io->port, &m_io->wait, &ignored, FALSE);
    }
    if (done && (mask & EV_RXCHAR) != 0) {
        return true;
    }
    return QueuedInputOrPause(stopEvent);
}

// The wait failed or ended without news. Some drivers cannot wait for events at all, and an
// unplugged adapter fails every call at once: the input queue decides, and a pause keeps the
// loop from spinning.
bool CSerialPort::QueuedInputOrPause(void* stopEvent) {
    COMSTAT stat{};
    if (!m_io->Queues(stat)) {
        m_readFailed = true;
        return false;
    }
    if (stat.cbInQue > 0) {
        return true;
    }
    ::WaitForSingleObject(stopEvent, kEventlessPollMs);
    return false;
}

bool CSerialPort::Close() {
    if (!m_bOpen) {
        return false;
    }
    m_bOpen = false;
    m_reader.Stop();
    ::EscapeCommFunction(m_io->port, CLRDTR);
    // Output is not purged: every write has already waited for its bytes to leave.
    ::PurgeComm(m_io->port, PURGE_RXABORT | PURGE_RXCLEAR);
    ReleaseDevice();
    return true;
}

void CSerialPort::ReleaseDevice() {
    m_io.reset();
}

int CSerialPort::Read(std::uint8_t* buffer, int capacity) {
    if (!m_bOpen || capacity <= 0) {
        return 0;
    }
    COMSTAT stat{};
    if (!m_io->Queues(stat)) {
        m_readFailed = true;
        return 0;
    }
    const DWORD want = std::min<DWORD>(stat.cbInQue, static_cast<DWORD>(capacity));
    if (want == 0) {
        return 0;
    }
    DWORD got = 0;
    if (::ReadFile(m_io->port, buffer, want, &got, &m_io->read)) {
        return static_cast<int>(got);
    }
    if (::GetLastError() != ERROR_IO_PENDING) {
        return 0;
    }
    if (::WaitForSingleObject(m_io->read.hEvent, kReadLimitMs) != WAIT_OBJECT_0) {
        // The caller's buffer must not be written after we return.
        return static_cast<int>(CancelPending(m_io->port, m_io->read));
    }
    ::GetOverlappedResult(m_io->port, &m_io->read, &got, FALSE);
    return static_cast<int>(got);
}

// Waits until the driver's output queue is empty, sleeping about as long as the queued bytes
// take on the wire rather than polling.
bool CSerialPort::WaitForDrain(Clock::time_point deadline) {
    for (;;) {
        COMSTAT stat{};
        if (!m_io->Queues(stat) || stat.cbOutQue == 0) {
            return true;
        }
        const DWORD left = RemainingMs(deadline);
        if (left == 0) {
            return false;
        }
        const long long wireMs = 1 + stat.cbOutQue * 10LL * 1000 / std::max(1u, m_line.baudRate);
        ::Sleep(static_cast<DWORD>(std::min<long long>(wireMs, left)));
    }
}

int CSerialPort::Write(const std::uint8_t* data, int length) {
    if (!m_bOpen || data == nullptr || length <= 0) {
        return 0;
    }
    const auto deadline =
        Clock::now() + SerialWriteLimit(static_cast<std::size_t>(length), m_line.baudRate);
    DWORD sent = 0;
    if (!::WriteFile(m_io->port, data, static_cast<DWORD>(length), &sent, &m_io->write)) {
        if (::GetLastError() != ERROR_IO_PENDING) {
            return 0;
        }
        if (::WaitForSingleObject(m_io->write.hEvent, RemainingMs(deadline)) == WAIT_OBJECT_0) {
            ::GetOverlappedResult(m_io->port, &m_io->write, &sent, FALSE);
        } else {
            sent = CancelPending(m_io->port, m_io->write);
        }
    }
    if (!WaitForDrain(deadline)) {
        // Only what the time limit left behind is discarded.
        COMSTAT stat{};
        const DWORD queued = m_io->Queues(stat) ? stat.cbOutQue : 0;
        sent = sent > queued ? sent - queued : 0;
        PurgeOutput();
    }
    return static_cast<int>(sent);
}

bool CSerialPort::PurgeInput() {
    return m_bOpen && ::PurgeComm(m_io->port, PURGE_RXCLEAR) != 0;
}

bool CSerialPort::PurgeOutput() {
    return m_bOpen && ::PurgeComm(m_io->port, PURGE_TXABORT | PURGE_TXCLEAR) != 0;
}
