// The settings conversation's rules, with the printer's replies given by hand: what a save sends
// around a change of the printer's port, and how a conversation ends on a reply it cannot use.
#include <gtest/gtest.h>

#include "CSettingsConversation.h"
#include "CommandTable.h"
#include "OptionFrame.h"

namespace {

PrinterSettings Record() {
    PrinterSettings record{};
    record.contrast = 8;
    record.printSpeed = 2;
    record.portFlowControl = 0x10;  // RTS/CTS
    return record;
}

std::vector<std::uint8_t> Reply(const PrinterSettings& record) {
    const auto bytes = record.ToBytes();
    return {bytes.begin(), bytes.end()};
}

// What the driver is asked to do, step by step, until a reply is awaited or the end.
struct Heard {
    std::vector<int> optionGroups;
    std::vector<LineAction> lineActions;
    std::vector<int> requests;
    std::vector<FlowCharacterChange> flowChanges;
    ConversationStep last;
};

Heard RunUntilReply(CSettingsConversation& conversation, ConversationStep step) {
    Heard heard;
    for (;;) {
        heard.flowChanges.insert(heard.flowChanges.end(), step.flowChanges.begin(),
                                 step.flowChanges.end());
        if (step.options) {
            heard.optionGroups.push_back(step.options->group);
        }
        if (step.line != LineAction::Keep) {
            heard.lineActions.push_back(step.line);
        }
        if (step.request) {
            heard.requests.push_back(step.request->command);
        }
        if (step.finished || step.AwaitsReply()) {
            heard.last = step;
            return heard;
        }
        step = conversation.Next();
    }
}

// A save that turns the printer's port to Xon/Xoff first keeps 17 and 19 out of every group,
// also of one the save does not touch, on the line that still carries them; the port goes last,
// and the store command only after the reopen.
TEST(SettingsConversation, PortTurningToXonXoffFirstClearsTheFlowCharactersEverywhere) {
    PrinterSettings current = Record();
    current.printSpeed = 19;  // held from before, harmless under RTS/CTS
    CSettingsConversation conversation;
    const auto compose = [](const PrinterSettings& read) {
        SettingsWrite write;
        write.record = read;
        write.record.portFlowControl = 0x20;
        write.masks[kGroupPrinterPort] = 0x01;
        return write;
    };
    RunUntilReply(conversation, conversation.StartSave(compose, FlowControl::RtsCts));
    const Heard heard = RunUntilReply(conversation, conversation.OnReply(Reply(current)));
    ASSERT_EQ(heard.flowChanges.size(), 1u);
    EXPECT_EQ(heard.flowChanges[0].byteIndex, 2);
    EXPECT_EQ(heard.optionGroups, (std::vector<int>{kGroupPrinting, kGroupPrinterPort}));
    EXPECT_EQ(heard.lineActions, (std::vector<LineAction>{LineAction::Close, LineAction::Reopen}));
    EXPECT_EQ(heard.requests, (std::vector<int>{CMD_STORE_SETTINGS}));
    EXPECT_TRUE(heard.last.finished);
    EXPECT_EQ(conversation.Running(), Conversation::Idle);
}

// A read-back names the first field the printer did not take; a reply that is not a record ends
// any read; a reply nobody asked for moves nothing.
TEST(SettingsConversation, RepliesItCannotUseEndItWithTheReason) {
    CSettingsConversation conversation;
    const auto compose = [](const PrinterSettings& read) {
        SettingsWrite write;
        write.record = read;
        write.record.contrast = 12;
        write.masks[kGroupPrinting] = OptionBitOf(0)->maskBit;
        write.checkedFields = {0};
        return write;
    };
    RunUntilReply(conversation, conversation.StartSave(compose, FlowControl::None));
    const Heard wrote = RunUntilReply(conversation, conversation.OnReply(Reply(Record())));
    EXPECT_EQ(wrote.requests, (std::vector<int>{CMD_READ_SETTINGS}));
    const ConversationStep checked = conversation.OnReply(Reply(Record()));
    ASSERT_TRUE(checked.notTaken);
    EXPECT_EQ(checked.notTaken->field, 0u);
    EXPECT_EQ(checked.notTaken->held, 8);
    EXPECT_EQ(checked.notTaken->wanted, 12);
    EXPECT_TRUE(checked.finished);

    conversation.StartRead({});
    const std::vector<std::uint8_t> shortReply(PrinterSettings::kSize - 1, 0);
    const ConversationStep bad = conversation.OnReply(shortReply);
    EXPECT_TRUE(bad.badReply && bad.finished);
    EXPECT_EQ(conversation.Running(), Conversation::Idle);

    const ConversationStep unasked = conversation.OnReply(Reply(Record()));
    EXPECT_FALSE(unasked.settings || unasked.request || unasked.options);
}

}  // namespace
