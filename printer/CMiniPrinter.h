#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

#include "CCommandChannel.h"
#include "CPrinterPortMap.h"
#include "ChannelMessages.h"
#include "PrinterQueues.h"
#include "PrinterSettings.h"
#include "UserNotifier.h"

// Why the last operation of the printer object was refused.
enum PrinterError : int {
    kPrinterErrorNone = 0,
    kPrinterErrorNoSuchCommand = 1,
    kPrinterErrorNotEnoughParameters = 2,
    kPrinterErrorPortAccess = 3,
    kPrinterErrorAlreadyConnected = 4,
    kPrinterErrorNotConnected = 5,
    kPrinterErrorNoSuchOption = 6,
    kPrinterErrorBufferTooSmall = 8,
};

// The configurator's printer: opens and closes the connection, builds request frames from the
// command table and hands them to the channel. Replies go from the channel straight to the
// owner. Every refusal is shown to the user at once and kept in LastError().
class CMiniPrinter {
public:
    CMiniPrinter(IUserNotifier& notifier, IPrinterQueues& queues);
    CMiniPrinter(const CMiniPrinter&) = delete;
    CMiniPrinter& operator=(const CMiniPrinter&) = delete;
    ~CMiniPrinter();

    bool Connect(IChannelOwner* owner, const std::string& portName, unsigned baudRate, int parity,
                 int flowControl, int stopBits);
    // The same over any transport: a serial port, or a TCP host for any other interface name.
    bool Connect(IChannelOwner* owner, const ChannelConfig& config);
    void Disconnect();
    bool IsConnected() const { return m_bConnected; }

    bool SendCommand(int commandId, const std::uint8_t* params, int paramLen, bool expectReply,
                     int replyLength);
    bool SendCommandWithTerminator(int commandId, const std::uint8_t* params, int paramLen,
                                   int replyKind, const std::uint8_t* pattern, int patternLen);
    bool SaveOptions(const PrinterSettings& settings, int group, int changedMask);

    int LastError() const { return m_lastError; }
    const std::string& PortName() const { return m_strPortName; }
    // How long a reply may keep the channel waiting; the printer's own limit unless a test or a
    // slow link says otherwise. Applies to the current and every later connection.
    void SetReplyWatch(std::chrono::milliseconds length);

private:
    struct Frame;
    bool BuildFrame(int commandId, const std::uint8_t* params, int paramLen, Frame& frame);
    void Refuse(int code, const std::string& text, const char* caption);

    int m_lastError = kPrinterErrorNone;
    std::unique_ptr<CCommandChannel> m_pChannel;
    IChannelOwner* m_pOwner = nullptr;
    bool m_bConnected = false;
    std::unique_ptr<CPrinterPortMap> m_pPortMap;
    std::string m_strPortName;
    IUserNotifier& m_notifier;
    IPrinterQueues& m_queues;
    std::chrono::milliseconds m_replyWatch = kReplyWatch;
};
