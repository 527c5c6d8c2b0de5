#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "FlowCharacters.h"
#include "PrinterLine.h"
#include "PrinterRequest.h"
#include "PrinterSettings.h"

// The settings conversations a front-end can run; a save turns into a port change once its
// record is written and the printer's own port is to change.
enum class Conversation { Idle, FirstRead, Save, PortChange, FactoryRestore, SavedRestore, Info };

// What happens to the line before the step's request.
enum class LineAction { Keep, Close, Reopen };

// Option bytes of the conversation's record to send, one group's frame.
struct OptionWrite {
    PrinterSettings record{};
    int group = 0;
    int mask = 0;
};

// A field the printer did not take: what it holds after a write, and what was written.
struct SettingMismatch {
    std::size_t field = 0;
    std::uint8_t held = 0;
    std::uint8_t wanted = 0;
};

// One step of a conversation, for its driver: first the pause, then the line action, then the
// option frame or the request; a request that awaits a reply ends the step until the reply
// (or the channel's failure) comes. Besides, what the conversation produced so far, which the
// driver hands to its front-end before it carries out the step.
struct ConversationStep {
    std::chrono::milliseconds pause{0};
    LineAction line = LineAction::Keep;
    LineChoice reopenAt{};
    std::optional<OptionWrite> options;
    std::optional<PrinterRequest> request;

    // The printer's record as it now stands: read, or read and then written.
    std::optional<PrinterSettings> settings;
    // A piece of the service information text, in order.
    std::optional<std::string> infoText;
    // With an item's piece: the item's number and its text alone.
    std::optional<std::pair<int, std::string>> infoItem;
    // Values the Xon/Xoff rule stored instead of the ones asked for.
    std::vector<FlowCharacterChange> flowChanges;
    // The read-back found a field the printer did not take.
    std::optional<SettingMismatch> notTaken;
    // A settings reply that is not a record.
    bool badReply = false;
    // Nothing follows: the conversation is over, well or not.
    bool finished = false;

    bool AwaitsReply() const { return request && request->AwaitsReply(); }
};
