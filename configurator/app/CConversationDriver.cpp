#include "CConversationDriver.h"

#include <utility>

#include "CommandTable.h"
#include "ConversationTimings.h"
#include "LineNotices.h"
#include "PrinterNotices.h"

CConversationDriver::CConversationDriver(IUserNotifier& notifier, IPrinterQueues& queues,
                                         QObject* parent)
    : QObject(parent), m_notifier(notifier), m_queues(queues) {
    // Precise timers never fire early: the pauses are minimum spacings between requests.
    m_pause.setSingleShot(true);
    m_pause.setTimerType(Qt::PreciseTimer);
    connect(&m_pause, &QTimer::timeout, this, [this] { CarryOut(m_due); });
}

CConversationDriver::~CConversationDriver() {
    // The connection goes first: its channel must not outlive the owners it reports to.
    m_printer.reset();
}

void CConversationDriver::SetReplyWatch(std::chrono::milliseconds length) {
    m_replyWatch = length;
    if (m_printer) {
        m_printer->SetReplyWatch(length);
    }
}

bool CConversationDriver::Connect(const ChannelConfig& line) {
    m_line = line;
    const bool connected = Make().Connect(NewOwner(), line);
    ShowConnectNotices(m_notifier, *m_printer);
    if (!connected) {
        return false;
    }
    SetState(ConnectionState::Connecting);
    Begin(m_conversation.StartRead(kFirstReadDelay));
    return true;
}

// A request the user cut off will never be answered: the conversation ends with the line.
void CConversationDriver::Disconnect() {
    ++m_run;
    m_pause.stop();
    m_conversation.Abandon();
    m_which = Conversation::Idle;
    Close();
    SetState(ConnectionState::NotConnected);
    emit RunningChanged();
}

void CConversationDriver::Save(CSettingsConversation::Compose compose) {
    Begin(m_conversation.StartSave(std::move(compose), m_line.flowControl));
}

void CConversationDriver::RequestInfo() {
    Begin(m_conversation.StartInfo());
}

void CConversationDriver::RestoreFactory() {
    Begin(m_conversation.StartFactoryRestore());
}

void CConversationDriver::RestoreSaved() {
    Begin(m_conversation.StartSavedRestore());
}

void CConversationDriver::Begin(ConversationStep first) {
    ++m_run;
    m_pause.stop();
    m_saveReach = SaveReach::NothingSent;
    Run(std::move(first));
}

// What a step produced reaches the window before the step is carried out, so that a message
// about it comes before the line moves on. A step with a pause waits on the timer; the window
// stays responsive meanwhile.
void CConversationDriver::Run(ConversationStep step) {
    const Conversation running = m_conversation.Running();
    if (running != Conversation::Idle && running != m_which) {
        m_which = running;
        emit RunningChanged();
    }
    const std::uint64_t run = m_run;
    emit Produced(step);
    if (run != m_run) {
        return;  // the window ended the conversation meanwhile
    }
    if (step.badReply) {
        Fail(ConversationEnd::BadReply);
    } else if (step.finished) {
        Finish(ConversationEnd::Done);
    } else if (step.pause.count() > 0) {
        m_due = std::move(step);
        m_pause.start(m_due.pause);
    } else {
        CarryOut(step);
    }
}

void CConversationDriver::CarryOut(const ConversationStep& step) {
    if (!RunLine(step)) {
        return;
    }
    if (step.options) {
        if (m_printer->SaveOptions(step.options->record, step.options->group, step.options->mask)) {
            NoteSent(step);
        } else {
            ShowPrinterRefusal(m_notifier, *m_printer);
        }
    }
    if (step.request && IsOpen()) {
        if (SendRequest(*m_printer, *step.request)) {
            NoteSent(step);
        } else {
            ShowPrinterRefusal(m_notifier, *m_printer);
        }
        if (step.AwaitsReply()) {
            return;  // the channel reports the reply or its failure
        }
    }
    Run(m_conversation.Next());
}

// The groups below the port carry the store command in their own frame; the port's frame does
// not, and the store follows it alone once the line is reopened.
void CConversationDriver::NoteSent(const ConversationStep& step) {
    if (step.options) {
        if (step.options->group == kGroupPrinterPort) {
            m_saveReach = SaveReach::PortNotStored;
        } else if (m_saveReach == SaveReach::NothingSent) {
            m_saveReach = SaveReach::StoreSent;
        }
    } else if (step.request && step.request->command == CMD_STORE_SETTINGS) {
        m_saveReach = SaveReach::StoreSent;
    }
}

bool CConversationDriver::RunLine(const ConversationStep& step) {
    switch (step.line) {
        case LineAction::Close:
            Close();
            break;
        case LineAction::Reopen:
            return Reopen(step.reopenAt);
        case LineAction::Keep:
            break;
    }
    return true;
}

// A restore reconnects as a connect does; a port change keeps the connection's state across its
// reopen, and one that fails leaves the window connected in name until the user disconnects.
bool CConversationDriver::Reopen(const LineChoice& choice) {
    m_line = LineAt(m_line, choice);
    emit LineFollowed(choice);
    const bool restore = m_conversation.Running() != Conversation::PortChange;
    const bool connected = Make().Connect(NewOwner(), m_line);
    ShowConnectNotices(m_notifier, *m_printer);
    if (!connected) {
        m_conversation.Abandon();
        if (restore) {
            SetState(ConnectionState::NotConnected);
        }
        Finish(ConversationEnd::NotReopened);
        return false;
    }
    if (restore) {
        SetState(ConnectionState::Connecting);
    }
    return true;
}

void CConversationDriver::OnChannelMessage(std::uint64_t connection, ChannelMessage message,
                                           const std::vector<std::uint8_t>& bytes) {
    if (connection != m_connection) {
        return;  // from a connection that has been closed since
    }
    switch (message) {
        case WM_CHANNEL_REPLY:
            if (m_conversation.Running() == Conversation::Idle) {
                break;  // nothing asked for it
            }
            if (m_state == ConnectionState::Connecting) {
                SetState(ConnectionState::Connected);
            }
            Run(m_conversation.OnReply(bytes));
            break;
        case WM_CHANNEL_TIMEOUT:
        case WM_CHANNEL_STREAM_END:
            Fail(ConversationEnd::Timeout);
            break;
        case WM_CHANNEL_LINE_LOST:
            ShowLineLoss(m_notifier, m_printer->LastLineLoss());
            Fail(ConversationEnd::LineLost);
            break;
        case WM_CHANNEL_CHUNK:
            break;
    }
}

void CConversationDriver::Finish(ConversationEnd end) {
    ++m_run;
    m_pause.stop();
    const Conversation which = std::exchange(m_which, Conversation::Idle);
    emit RunningChanged();
    emit Ended(which, end);
}

// The line closes with the failure: the window is not connected any more.
void CConversationDriver::Fail(ConversationEnd end) {
    m_conversation.Abandon();
    Close();
    SetState(ConnectionState::NotConnected);
    Finish(end);
}

void CConversationDriver::Close() {
    if (m_printer) {
        m_printer->Disconnect();
    }
    ++m_connection;
}

void CConversationDriver::SetState(ConnectionState state) {
    if (state != m_state) {
        m_state = state;
        emit StateChanged(state);
    }
}

IChannelOwner* CConversationDriver::NewOwner() {
    ++m_connection;
    m_owners.push_back(std::make_unique<CQueuedChannelOwner>(
        this, m_connection,
        [this](std::uint64_t connection, ChannelMessage message,
               const std::vector<std::uint8_t>& bytes) {
            OnChannelMessage(connection, message, bytes);
        }));
    return m_owners.back().get();
}

CMiniPrinter& CConversationDriver::Make() {
    if (!m_printer) {
        m_printer = std::make_unique<CMiniPrinter>(m_queues);
        m_printer->SetReplyWatch(m_replyWatch);
    }
    return *m_printer;
}
