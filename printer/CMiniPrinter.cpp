#include "CMiniPrinter.h"

#include <algorithm>
#include <array>

#include "CommandTable.h"
#include "OptionFrame.h"
#include "PortName.h"

namespace {

// Request frames are built in a buffer of this size: prefix and parameters together.
constexpr int kRequestCapacity = 288;

}  // namespace

struct CMiniPrinter::Frame {
    std::array<std::uint8_t, kRequestCapacity> bytes{};
    int length = 0;
};

CMiniPrinter::CMiniPrinter(IPrinterQueues& queues) : m_queues(queues) {}

CMiniPrinter::~CMiniPrinter() {
    Disconnect();
}

void CMiniPrinter::SetReplyWatch(std::chrono::milliseconds length) {
    m_replyWatch = length;
    if (m_pChannel) {
        m_pChannel->SetWatchLength(length);
    }
}

bool CMiniPrinter::Connect(IChannelOwner* owner, const std::string& portName, unsigned baudRate,
                           Parity parity, FlowControl flowControl, StopBits stopBits) {
    ChannelConfig config;
    config.portName = portName;
    config.baudRate = baudRate;
    config.parity = parity;
    config.flowControl = flowControl;
    config.stopBits = stopBits;
    return Connect(owner, config);
}

bool CMiniPrinter::Connect(IChannelOwner* owner, const ChannelConfig& config) {
    m_lastError = kPrinterErrorNone;
    m_openFailure = {};
    m_queuesNotHeld.clear();
    if (m_pChannel) {
        return Refuse(kPrinterErrorAlreadyConnected);
    }
    m_pOwner = owner;
    // Printer queues print to serial ports only; a network printer frees no queue.
    const bool serial = config.transport == TransportKind::Serial;
    m_strPortName = serial ? QueuePortName(config.portName) : std::string();
    m_pPortMap = std::make_unique<CPrinterPortMap>(m_queues);
    m_pPortMap->Redirect(m_strPortName);
    m_queuesNotHeld = m_pPortMap->Refused();
    m_pChannel = std::make_unique<CCommandChannel>(owner, config);
    if (m_pChannel->IsOpen()) {
        m_pChannel->SetWatchLength(m_replyWatch);
        m_bConnected = true;
        return true;
    }
    m_openFailure = m_pChannel->LastOpenFailure();
    m_pPortMap->Restore(m_strPortName);
    m_pPortMap.reset();
    m_pChannel.reset();
    return Refuse(kPrinterErrorPortAccess);
}

LineLoss CMiniPrinter::LastLineLoss() const {
    return m_pChannel ? m_pChannel->LastLineLoss() : LineLoss::None;
}

void CMiniPrinter::Disconnect() {
    m_lastError = kPrinterErrorNone;
    m_bConnected = false;
    // Moved out first: destroying the channel may run inside one of its own notifications, and
    // the member must already be empty if that handler looks at the printer again.
    std::unique_ptr<CCommandChannel> channel = std::move(m_pChannel);
    channel.reset();
    if (m_pPortMap && !m_strPortName.empty()) {
        m_pPortMap->Restore(m_strPortName);
        m_pPortMap.reset();
    }
}

bool CMiniPrinter::BuildFrame(int commandId, const std::uint8_t* params, int paramLen,
                              Frame& frame) {
    m_lastError = kPrinterErrorNone;
    if (!m_bConnected) {
        return Refuse(kPrinterErrorNotConnected);
    }
    const CommandEntry* entry = FindCommand(commandId);
    if (entry == nullptr) {
        return Refuse(kPrinterErrorNoSuchCommand);
    }
    if (paramLen < entry->paramCount || (paramLen > 0 && params == nullptr)) {
        return Refuse(kPrinterErrorNotEnoughParameters);
    }
    if (entry->prefixLen + paramLen > kRequestCapacity) {
        return Refuse(kPrinterErrorBufferTooSmall);
    }
    std::copy_n(entry->prefix.begin(), entry->prefixLen, frame.bytes.begin());
    std::copy_n(params, paramLen, frame.bytes.begin() + entry->prefixLen);
    frame.length = entry->prefixLen + paramLen;
    return true;
}

bool CMiniPrinter::SendCommand(int commandId, const std::uint8_t* params, int paramLen,
                               bool expectReply, int replyLength) {
    Frame frame;
    if (!BuildFrame(commandId, params, paramLen, frame)) {
        return false;
    }
    m_pChannel->Send(frame.bytes.data(), frame.length, expectReply, replyLength);
    return true;
}

bool CMiniPrinter::SendCommandWithTerminator(int commandId, const std::uint8_t* params,
                                             int paramLen, int replyKind,
                                             const std::uint8_t* pattern, int patternLen) {
    Frame frame;
    if (!BuildFrame(commandId, params, paramLen, frame)) {
        return false;
    }
    // A refused reply description would leave the caller waiting for a reply never reported.
    return m_pChannel->SendAwaitPattern(frame.bytes.data(), frame.length, replyKind, pattern,
                                        patternLen);
}

bool CMiniPrinter::SendPrintData(std::span<const std::uint8_t> bytes) {
    m_lastError = kPrinterErrorNone;
    if (!m_bConnected) {
        return Refuse(kPrinterErrorNotConnected);
    }
    return m_pChannel->SendData(bytes);
}

bool CMiniPrinter::SaveOptions(const PrinterSettings& settings, int group, int changedMask) {
    m_lastError = kPrinterErrorNone;
    if (!m_bConnected) {
        return Refuse(kPrinterErrorNotConnected);
    }
    const OptionFrame frame = BuildOptionFrame(settings, group, changedMask);
    switch (frame.result) {
        case OptionFrameResult::NoSuchGroup:
            return Refuse(kPrinterErrorNoSuchOption);
        case OptionFrameResult::NothingSelected:
            return false;
        case OptionFrameResult::TooLong:
            return Refuse(kPrinterErrorBufferTooSmall);
        case OptionFrameResult::Built:
            break;
    }
    m_pChannel->Send(frame.bytes.data(), static_cast<int>(frame.bytes.size()), false, 0);
    return true;
}

bool CMiniPrinter::Refuse(int code) {
    m_lastError = code;
    return false;
}
