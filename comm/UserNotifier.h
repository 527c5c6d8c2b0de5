#pragma once

#include <string>

// The icon of a message box; the windows map it to their own icons, the command line to a prefix.
enum class MessageIcon { Error, Warning, Exclamation, Information };

// How the core tells the user about a failure it cannot hand to a caller. Implementations that
// show windows must do so on the UI thread; the core may call from an I/O thread.
class IUserNotifier {
public:
    virtual ~IUserNotifier() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // The caption that messages "with the program's title" carry.
    virtual std::string ApplicationTitle() const = 0;
};
