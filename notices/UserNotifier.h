#pragma once

#include <string>

// The icon of a message box; the windows map it to their own icons, the command line to a prefix.
enum class MessageIcon { Error, Warning, Exclamation, Information };

// How a front-end shows a message: the window as a message box, tq20 as a line on standard
// error. The core never calls it; it hands failures back as values, and
// LineNotices.h and PrinterNotices.h word them for every front-end.
class IUserNotifier {
public:
    virtual ~IUserNotifier() = default;
    virtual void ShowMessage(const std::string& text, const std::string& caption,
                             MessageIcon icon) = 0;
    // The caption that messages "with the program's title" carry.
    virtual std::string ApplicationTitle() const = 0;
};
