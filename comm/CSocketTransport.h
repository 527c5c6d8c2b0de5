#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

#include "CReaderThread.h"
#include "CTransport.h"

// A connect that the peer neither accepts nor refuses (a full listener backlog, a host that
// drops packets) ends after this time instead of the system's minutes of retries.
inline constexpr std::chrono::milliseconds kConnectLimit{3000};

// The TCP transport: a client connection to a host (dotted IPv4 or a name) and port.
// Received data is kept until the owner takes it with one Read.
class CSocketTransport final : public CTransport {
public:
    CSocketTransport(IInputSink* owner, std::string host, int hostPort,
                     std::chrono::milliseconds connectLimit = kConnectLimit);
    CSocketTransport(const CSocketTransport&) = delete;
    CSocketTransport& operator=(const CSocketTransport&) = delete;
    ~CSocketTransport() override;

    bool IsOpen() const override { return m_bConnected; }
    bool Open() override;
    bool Close() override;
    int Write(const std::uint8_t* data, int length) override;
    int Read(std::uint8_t* buffer, int capacity) override;
    bool PurgeInput() override { return false; }
    bool PurgeOutput() override { return false; }
    OpenFailure LastOpenFailure() const override { return m_failure; }
    LineLoss LastLineLoss() const override { return m_lineLoss; }

private:
    static constexpr int kStoreSize = 8192;
    static constexpr int kReceiveSize = 4096;
    static constexpr int kNothingYet = -1;
    static constexpr int kConnectionFailed = -2;

    bool ConnectWithin(const void* peer, unsigned peerSize);
    bool Fail(OpenFailureKind kind, int error = 0, Unstarted unstarted = Unstarted::Nothing);
    void Receive();
    int ReceiveSome(std::uint8_t* into, int room);
    void LoseLine(LineLoss loss);

    std::mutex m_rxMutex;
    std::uint8_t m_rxStore[kStoreSize]{};
    int m_rxCount = 0;
    IInputSink* m_pChannel;
    std::string m_strHost;
    int m_hostPort;
    std::atomic<bool> m_bConnected{false};
    std::atomic<bool> m_peerGone{false};
    // Set on the reader thread before the sink hears of the hang-up.
    std::atomic<LineLoss> m_lineLoss{LineLoss::None};
#ifdef _WIN32
    bool StartReceiving();
    bool WaitForInput(void* stopEvent);
    void* m_socketEvent = nullptr;
    std::uintptr_t m_socket = ~std::uintptr_t{0};
#else
    int m_socket = -1;
#endif
    std::chrono::milliseconds m_connectLimit;
    OpenFailure m_failure;
    CReaderThread m_reader;
};
