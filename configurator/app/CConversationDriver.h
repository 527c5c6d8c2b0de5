#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "CMiniPrinter.h"
#include "CQueuedChannelOwner.h"
#include "CSettingsConversation.h"
#include "ConnectionState.h"
#include "PrinterQueues.h"
#include "UserNotifier.h"

// How a conversation of the window ended.
enum class ConversationEnd { Done, BadReply, Timeout, LineLost, NotReopened };

// How far a save got: what the printer may hold when the save ends early.
enum class SaveReach {
    NothingSent,    // the printer keeps its values
    StoreSent,      // every value written went out with the store command behind it
    PortNotStored,  // the printer works at its new port settings until it is switched off
};

// The window's driver of the settings conversations: owns the printer object and the state of
// the connection, carries out each step on the window's thread (the pauses on a timer, so the
// window stays responsive), and tells the window what came of it. Only one conversation runs;
// starting another ends the one running.
class CConversationDriver final : public QObject {
    Q_OBJECT

public:
    CConversationDriver(IUserNotifier& notifier, IPrinterQueues& queues, QObject* parent = nullptr);
    ~CConversationDriver() override;

    ConnectionState State() const { return m_state; }
    Conversation Running() const { return m_conversation.Running(); }
    // Null until the first connect.
    CMiniPrinter* Printer() const { return m_printer.get(); }
    bool IsOpen() const { return m_printer && m_printer->IsConnected(); }
    const ChannelConfig& Line() const { return m_line; }
    SaveReach LastSaveReach() const { return m_saveReach; }
    // How long the printer may keep a reply waiting; the printer's own limit unless a test
    // says otherwise.
    void SetReplyWatch(std::chrono::milliseconds length);

    // Opens the line and, after the printer's pause, reads the record; Connecting until it is
    // answered. False when the line did not open.
    bool Connect(const ChannelConfig& line);
    // The user closes the line: whatever runs gives up.
    void Disconnect();
    void Save(CSettingsConversation::Compose compose);
    void RequestInfo();
    void RestoreFactory();
    void RestoreSaved();

signals:
    void StateChanged(ConnectionState state);
    void RunningChanged();
    // What a step produced: a record, a piece of the information text, flow-character changes.
    void Produced(const ConversationStep& step);
    // The line was reopened at another line of the printer's port.
    void LineFollowed(const LineChoice& line);
    void Ended(Conversation conversation, ConversationEnd end);

private:
    void Begin(ConversationStep first);
    void Run(ConversationStep step);
    void CarryOut(const ConversationStep& step);
    void NoteSent(const ConversationStep& step);
    bool RunLine(const ConversationStep& step);
    bool Reopen(const LineChoice& choice);
    void OnChannelMessage(std::uint64_t connection, ChannelMessage message,
                          const std::vector<std::uint8_t>& bytes);
    void Finish(ConversationEnd end);
    void Fail(ConversationEnd end);
    void Close();
    void SetState(ConnectionState state);
    IChannelOwner* NewOwner();
    CMiniPrinter& Make();

    IUserNotifier& m_notifier;
    IPrinterQueues& m_queues;
    std::unique_ptr<CMiniPrinter> m_printer;
    std::vector<std::unique_ptr<CQueuedChannelOwner>> m_owners;
    std::uint64_t m_connection = 0;
    ConnectionState m_state = ConnectionState::NotConnected;
    ChannelConfig m_line;
    std::chrono::milliseconds m_replyWatch = kReplyWatch;
    CSettingsConversation m_conversation;
    // Counts conversations, so that a step due from one that ended is not carried out.
    std::uint64_t m_run = 0;
    // The conversation running, as the window was last told; it stays named until its end is.
    Conversation m_which = Conversation::Idle;
    QTimer m_pause;
    ConversationStep m_due;
    SaveReach m_saveReach = SaveReach::NothingSent;
};
