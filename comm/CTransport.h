#pragma once

#include <cstdint>

#include "LineLoss.h"
#include "OpenFailure.h"

// Told by a transport, on its reader thread, that input has arrived or that the line is gone.
class IInputSink {
public:
    virtual ~IInputSink() = default;
    virtual void OnDataAvailable() = 0;
    // The device or peer went away: no more input will come. Called at most once.
    virtual void OnHangUp() {}
};

// A byte transport: the serial port or a TCP connection.
class CTransport {
public:
    virtual ~CTransport() = default;
    virtual bool IsOpen() const = 0;
    virtual bool Open() = 0;
    // Ends the reader thread, also when called from inside the sink's notification.
    virtual bool Close() = 0;
    // The number of bytes that left, on every transport: fewer than length means the write
    // failed (0 when the transport is not open); never negative.
    virtual int Write(const std::uint8_t* data, int length) = 0;
    // Non-blocking: returns what has arrived, at most capacity bytes, 0 when nothing is there.
    virtual int Read(std::uint8_t* buffer, int capacity) = 0;
    virtual bool PurgeInput() = 0;
    virtual bool PurgeOutput() = 0;
    // Why the last Open() failed; kind None after a successful one.
    virtual OpenFailure LastOpenFailure() const { return {}; }
    // Why the line was lost, once the sink has heard OnHangUp(); None when it has no cause.
    virtual LineLoss LastLineLoss() const { return LineLoss::None; }
};
