#pragma once

#include <QString>

#include "ConnectionState.h"

class CMiniPrinter;
class IChannelOwner;
class IUserNotifier;

// What the connection page's toggle needs from the main window.
class IConnectionHost {
public:
    virtual ~IConnectionHost() = default;
    virtual ConnectionState Connection() const = 0;
    // Moves the connection to state; the connect button shows it, enabled or not.
    virtual void SetConnection(ConnectionState state, bool enabled) = 0;
    // The printer object, created at the first connection and kept.
    virtual CMiniPrinter& Printer() = 0;
    // Closes the connection, if any; nothing it had on its way reaches the window afterwards.
    virtual void DisconnectPrinter() = 0;
    // Receives the next connection's replies.
    virtual IChannelOwner* NewConnectionOwner() = 0;
    // The user closed the connection: whatever waited for a reply gives up.
    virtual void OnUserDisconnect() = 0;
    // A settings page gives way to the empty page; the connection page stays.
    virtual void ShowPageForConnectionState() = 0;
    virtual void EnableTree() = 0;
    virtual void ShowWarning(const QString& text) = 0;
    virtual IUserNotifier& Notifier() = 0;
};
