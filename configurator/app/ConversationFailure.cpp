#include "ConversationFailure.h"

#include "ConfiguratorStrings.h"
#include "ExchangeControls.h"

namespace {

int SaveReachText(SaveReach reach) {
    switch (reach) {
        case SaveReach::StoreSent:
            return IDS_SAVE_STORE_SENT;
        case SaveReach::PortNotStored:
            return IDS_SAVE_PORT_NOT_STORED;
        case SaveReach::NothingSent:
            break;
    }
    return IDS_SAVE_NOTHING_SENT;
}

}  // namespace

std::string ConversationFailureText(Conversation conversation, ConversationEnd end,
                                    SaveReach reach) {
    const std::string text =
        ConfigString(end == ConversationEnd::Timeout ? IDS_REPLY_TIMEOUT : IDS_LINE_LOST);
    if (conversation == Conversation::FirstRead && end == ConversationEnd::Timeout) {
        return text + "\n" + ConfigString(IDS_TIMEOUT_FIND_HINT);
    }
    if (IsSave(conversation)) {
        return text + "\n" + ConfigString(SaveReachText(reach));
    }
    return text;
}
