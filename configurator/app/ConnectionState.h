#pragma once

// Where the window's connection to the printer stands. The connect button shows it; nothing
// reads it back from the button's label.
enum class ConnectionState {
    NotConnected,  // "Установить соединение"
    Connecting,    // the port is open, the first read not yet answered
    Connected,     // "Разорвать соединение"
};
