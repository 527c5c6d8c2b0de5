#pragma once

#include "ConversationStep.h"

// What the user may click while a conversation runs. A control that could start a second
// conversation or close the line under a running one is disabled until the conversation ends,
// so no click can leave the window waiting for a reply that never comes.
struct ExchangeControls {
    bool connectButton = true;
    bool saveButton = true;
    bool restoreButtons = true;
    // The tree and the page area: a conversation fills the page shown with what it read or
    // wrote, so nothing may be typed or chosen under it.
    bool pages = true;
};

ExchangeControls ControlsDuring(Conversation running);
// A save runs, with or without its port change.
bool IsSave(Conversation running);
