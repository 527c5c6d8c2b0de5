#include "ExchangeControls.h"

ExchangeControls ControlsDuring(Conversation running) {
    switch (running) {
        case Conversation::Idle:
        case Conversation::Info:
            // A new query restarts the chain; a disconnect ends it.
            return {};
        case Conversation::Save:
            // A disconnect ends the wait for the read cleanly; another save or a restore would
            // take over its reply.
            return {.connectButton = true,
                    .saveButton = false,
                    .restoreButtons = false,
                    .pages = false};
        case Conversation::FirstRead:
        case Conversation::PortChange:
        case Conversation::FactoryRestore:
        case Conversation::SavedRestore:
            // These close or await the line on their own timers: nothing may cut in.
            return {.connectButton = false,
                    .saveButton = false,
                    .restoreButtons = false,
                    .pages = false};
    }
    return {};
}

bool IsSave(Conversation running) {
    return running == Conversation::Save || running == Conversation::PortChange;
}
