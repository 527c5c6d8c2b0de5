#pragma once

#include <string>

// The icon of a message box; the windows map it to their own icons, the command line to a prefix.
enum class MessageIcon { Error, Warning, Exclamation, Information };

// A question the user answers before something that cannot be undone or that drops edits.
enum class Question {
    SaveDiscardCancel,  // unsaved edits: save them, drop them, or stay
    YesNo,              // a destructive action: "No" is the default
};
enum class Answer { Save, Discard, Cancel, Yes, No };

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
    // Asks and waits for the answer. A front-end that cannot ask takes the answer that changes
    // nothing: Cancel, or No.
    virtual Answer Ask(const std::string& /*text*/, const std::string& /*caption*/,
                       Question question) {
        return question == Question::YesNo ? Answer::No : Answer::Cancel;
    }
};
