#pragma once

#include <string>
#include <vector>

// Why a transport did not open, with the facts a technician needs to put it right.
enum class OpenFailureKind {
    None,
    NoDevice,          // the device does not exist
    PermissionDenied,  // the user may not open the device
    InUse,             // another program holds the port
    NotSerial,         // the name is not a serial device
    LineRefused,       // the driver refused the framing or the flow control
    SpeedRefused,      // the driver runs the line at another speed
    NoThread,          // the system could not start a thread for the connection
    HostNotFound,
    ConnectRefused,
    ConnectTimedOut,
    SystemError,  // anything else the system reported, by its error code
};

// What the system could not start when a connection failed before it was made: a thread
// (NoThread), or Winsock itself (SystemError). The front-ends tell some of these apart.
enum class Unstarted { Nothing, ChannelWatch, SerialReader, SocketReader, LoadWatchdog, Sockets };

struct OpenFailure {
    OpenFailureKind kind = OpenFailureKind::None;
    std::string device;                       // the device path, or HOST:PORT
    std::vector<std::string> presentDevices;  // NoDevice: the serial devices that do exist
    std::string owningGroup;                  // PermissionDenied: the device's group
    unsigned requestedSpeed = 0;              // SpeedRefused
    unsigned reportedSpeed = 0;               // SpeedRefused
    int error = 0;                            // SystemError: errno, or a Windows error code
    Unstarted unstarted = Unstarted::Nothing;

    OpenFailure() = default;
    OpenFailure(OpenFailureKind failureKind, std::string failedDevice)
        : kind(failureKind), device(std::move(failedDevice)) {}
    OpenFailure(OpenFailureKind failureKind, std::string failedDevice, Unstarted what)
        : kind(failureKind), device(std::move(failedDevice)), unstarted(what) {}
};

// One sentence for the line under "Can't open a specified port"; empty when nothing failed.
std::string DescribeOpenFailure(const OpenFailure& failure);

// The failure an error code stands for, with the facts gathered from the system (the devices
// present, the group of the device). The code is an errno of open(), flock() or connect(), or on
// Windows one of GetLastError() or WSAGetLastError().
OpenFailure ClassifyOpenError(const std::string& device, int error);

// The system's own words for an error code of ClassifyOpenError, without a final full stop.
std::string SystemErrorText(int error);
