#include "CExchangeSequence.h"

ExchangeControls CExchangeSequence::Controls(Sequence running) {
    switch (running) {
        case Sequence::Idle:
        case Sequence::Info:
            // A new query restarts the chain; a disconnect ends it.
            return {};
        case Sequence::Save:
            // A disconnect ends the wait for the read cleanly; another save or a restore would
            // take over its reply.
            return {.connectButton = true, .saveButton = false, .restoreButtons = false};
        case Sequence::FirstRead:
        case Sequence::PortChange:
        case Sequence::FactoryRestore:
        case Sequence::SavedRestore:
            // These close or await the line on their own timers: nothing may cut in.
            return {.connectButton = false, .saveButton = false, .restoreButtons = false};
    }
    return {};
}
