#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>

#include "ConversationStep.h"
#include "SettingsWrite.h"

// The printer's settings conversations without any I/O, the same for every front-end: a start
// gives the first step; the driver carries out each step and comes back with Next() (nothing
// awaited) or OnReply() (the reply to the step's request), until a step is finished. A channel
// failure (time-out, lost line) or a line that does not reopen ends a conversation in the
// driver: it calls Abandon().
class CSettingsConversation {
public:
    // Makes the write of a save from the record just read.
    using Compose = std::function<SettingsWrite(const PrinterSettings& current)>;

    // Reads the record, after pause (the printer's spacing after a connect).
    ConversationStep StartRead(std::chrono::milliseconds pause);
    // Reads the record, writes what compose makes of it (the port last, with its reconnect and
    // the store command), and reads it back when the write names fields to check. lineFlow is
    // the flow control of the line the conversation runs on.
    ConversationStep StartSave(Compose compose, FlowControl lineFlow);
    ConversationStep StartFactoryRestore();
    ConversationStep StartSavedRestore();
    ConversationStep StartInfo();

    ConversationStep Next();
    ConversationStep OnReply(std::span<const std::uint8_t> reply);
    void Abandon();

    Conversation Running() const { return m_running; }

private:
    enum class Awaiting { Nothing, Record, InfoItem, State };

    ConversationStep Begin(Conversation conversation, std::deque<ConversationStep> plan);
    ConversationStep Pop();
    ConversationStep OnRecord(const PrinterSettings& record);
    ConversationStep Write(const PrinterSettings& current);
    ConversationStep CheckWritten(const PrinterSettings& stored);
    ConversationStep OnInfoReply(std::span<const std::uint8_t> reply);
    void PlanPortChange(const PrinterSettings& record);
    ConversationStep ReadStep(std::chrono::milliseconds pause);
    ConversationStep InfoItemStep(int item);

    Conversation m_running = Conversation::Idle;
    std::deque<ConversationStep> m_plan;
    Awaiting m_awaiting = Awaiting::Nothing;
    int m_infoItem = 0;
    Compose m_compose;
    FlowControl m_lineFlow = FlowControl::None;
    bool m_written = false;
    SettingsWrite m_write;
};
