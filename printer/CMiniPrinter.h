#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "CCommandChannel.h"
#include "CPrinterPortMap.h"
#include "ChannelMessages.h"
#include "PrinterQueues.h"
#include "PrinterSettings.h"

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
// owner. Nothing is shown to the user: every refusal is kept in LastError() (with the open
// failure behind kPrinterErrorPortAccess) for the front-end to word.
class CMiniPrinter {
public:
    explicit CMiniPrinter(IPrinterQueues& queues);
    CMiniPrinter(const CMiniPrinter&) = delete;
    CMiniPrinter& operator=(const CMiniPrinter&) = delete;
    ~CMiniPrinter();

    bool Connect(IChannelOwner* owner, const std::string& portName, unsigned baudRate,
                 Parity parity, FlowControl flowControl, StopBits stopBits);
    // The same over any transport: a serial port or a TCP host.
    bool Connect(IChannelOwner* owner, const ChannelConfig& config);
    void Disconnect();
    bool IsConnected() const { return m_bConnected; }

    bool SendCommand(int commandId, const std::uint8_t* params, int paramLen, bool expectReply,
                     int replyLength);
    bool SendCommandWithTerminator(int commandId, const std::uint8_t* params, int paramLen,
                                   int replyKind, const std::uint8_t* pattern, int patternLen);
    bool SaveOptions(const PrinterSettings& settings, int group, int changedMask);
    // Sends what is to be printed as it stands; blocks until it has left. False when the
    // printer is not connected or the line took not all of it.
    bool SendPrintData(std::span<const std::uint8_t> bytes);

    int LastError() const { return m_lastError; }
    // Why the port did not open, after a Connect refused with kPrinterErrorPortAccess.
    const OpenFailure& LastOpenFailure() const { return m_openFailure; }
    // The printer queues of the port that the last Connect could not keep off it; the
    // connection went ahead regardless.
    const std::vector<std::string>& QueuesNotHeld() const { return m_queuesNotHeld; }
    // Why the line was lost, once the owner has heard WM_CHANNEL_LINE_LOST.
    LineLoss LastLineLoss() const;
    const std::string& PortName() const { return m_strPortName; }
    // How long a reply may keep the channel waiting; the printer's own limit unless a test or a
    // slow link says otherwise. Applies to the current and every later connection.
    void SetReplyWatch(std::chrono::milliseconds length);

private:
    struct Frame;
    bool BuildFrame(int commandId, const std::uint8_t* params, int paramLen, Frame& frame);
    bool Refuse(int code);

    int m_lastError = kPrinterErrorNone;
    OpenFailure m_openFailure;
    std::vector<std::string> m_queuesNotHeld;
    std::unique_ptr<CCommandChannel> m_pChannel;
    IChannelOwner* m_pOwner = nullptr;
    bool m_bConnected = false;
    std::unique_ptr<CPrinterPortMap> m_pPortMap;
    std::string m_strPortName;
    IPrinterQueues& m_queues;
    std::chrono::milliseconds m_replyWatch = kReplyWatch;
};
