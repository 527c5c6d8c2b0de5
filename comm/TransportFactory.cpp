#include "TransportFactory.h"

#include "CSerialPort.h"
#include "CSocketTransport.h"
#include "PortName.h"

std::unique_ptr<CTransport> MakeTransport(IInputSink& sink, const ChannelConfig& config) {
    switch (config.transport) {
        case TransportKind::Serial:
            return std::make_unique<CSerialPort>(
                &sink, NormalisePortName(config.portName),
                SerialLineRequest{config.baudRate, config.parity, config.stopBits,
                                  config.flowControl});
        case TransportKind::Tcp:
            break;
    }
    return std::make_unique<CSocketTransport>(&sink, config.host, config.hostPort);
}
