#pragma once

#include <atomic>
#include <chrono>
#include <memory>
#include <string>

#include "CReaderThread.h"
#include "CTransport.h"
#include "SerialLineSettings.h"

// The serial transport: opens the port exclusively, programs the line, and reports input on a
// reader thread of its own.
class CSerialPort final : public CTransport {
public:
    CSerialPort(IInputSink* owner, std::string portName, const SerialLineRequest& line);
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;
    // Closes the port if the owner did not: a port must never outlive its object.
    ~CSerialPort() override;

    bool IsOpen() const override { return m_bOpen; }
    bool OpenConnection();
    bool Open() override { return OpenConnection(); }
    bool Close() override;
    int Write(const std::uint8_t* data, int length) override;
    int Read(std::uint8_t* buffer, int capacity) override;
    bool PurgeInput() override;
    bool PurgeOutput() override;
    OpenFailure LastOpenFailure() const override { return m_failure; }
    // Programs other line settings on the open port, keeping it and its reader: faster than
    // reopening, and the port is not left free for another program in between. Input not yet
    // read is dropped, as at open.
    bool Reconfigure(const SerialLineRequest& line);

    const std::string& PortName() const { return m_strPortName; }

private:
    bool OpenDevice();
    bool ProgramLine();
    bool StartReader();
    void ReleaseDevice();
    bool Fail(OpenFailure failure);
#ifdef _WIN32
    struct Win32Io;  // the port handle and the overlapped structures with their events
    bool CheckSpeed();
    bool WaitForInput(void* stopEvent);
    bool QueuedInputOrPause(void* stopEvent);
    bool WaitForDrain(std::chrono::steady_clock::time_point deadline);
#endif

    IInputSink* m_pChannel;
    CReaderThread m_reader;
#ifdef _WIN32
    std::unique_ptr<Win32Io> m_io;
#else
    int m_fd = -1;
#endif
    std::string m_strPortName;
    SerialLineRequest m_line;
    OpenFailure m_failure;
    std::atomic<bool> m_bOpen{false};
    std::atomic<bool> m_readFailed{false};
};
