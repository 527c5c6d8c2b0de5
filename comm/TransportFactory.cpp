#include "TransportFactory.h"

#include "CSerialPort.h"
#include "CSocketTransport.h"
#include "PortName.h"

std::unique_ptr<CTransport> MakeTransport(IInputSink& sink, const ChannelConfig& config) {
    if (config.interfaceName == kSerialInterfaceName) {
        SerialLineRequest line;
        line.baudRate = config.baudRate;
        line.parity = config.parity;
        line.stopBits = config.stopBits;
        line.flowControl = config.flowControl;
        return std::make_unique<CSerialPort>(&sink, NormalisePortName(config.portName), line);
    }
    return std::make_unique<CSocketTransport>(&sink, config.host, config.hostPort);
}
