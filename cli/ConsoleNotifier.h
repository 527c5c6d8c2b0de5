#pragma once

#include <string>
#include "Console.h"

#include "UserNotifier.h"

// tq20's messages go to standard error, one line each, as "caption: text".
class CConsoleNotifier final : public IUserNotifier {
public:
    void ShowMessage(const std::string& text, const std::string& caption, MessageIcon) override {
        Err() << (caption.empty() ? ApplicationTitle() : caption) << ": " << text << '\n';
    }
    std::string ApplicationTitle() const override { return "tq20"; }
};
