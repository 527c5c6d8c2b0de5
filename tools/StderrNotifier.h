#pragma once

#include <cstdio>

#include "UserNotifier.h"

// Messages go to standard error: a message box would wait for a click that never comes.
class CStderrNotifier final : public IUserNotifier {
public:
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon /*icon*/) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    std::string ApplicationTitle() const override { return "screenshots"; }
};
