#pragma once

// The choices that make up a line, as the core passes them. The windows' list indices and
// tq20's option names are turned into these at the edges (settings/PrinterLine, cli/LineOptions).
enum class Parity { None, Odd, Even };
enum class StopBits { One, Two };
enum class FlowControl {
    None,
    RtsCts,
    XonXoff,
    Both,  // RTS/CTS and Xon/Xoff
};
// Which transport a connection uses: the serial port, or a TCP connection to a host.
enum class TransportKind { Serial, Tcp };
