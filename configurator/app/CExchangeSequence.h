#pragma once

// The printer conversations of the main window that run over several steps: what the window
// waits for, and which controls may start something else meanwhile. A control that could
// start a second conversation or close the line under a running one is disabled until the
// conversation ends, so no click can leave the window waiting for a reply that never comes.
enum class Sequence {
    Idle,
    FirstRead,       // the read after connecting
    Save,            // the read before writing the visible page
    PortChange,      // port set, closed, reopened at the new line, store command
    FactoryRestore,  // restore, closed, reopened at the factory line, read back
    SavedRestore,    // restore, read back
    Info,            // the chain of service information requests
};

// What the user may click while a conversation runs.
struct ExchangeControls {
    bool connectButton = true;
    bool saveButton = true;
    bool restoreButtons = true;
};

class CExchangeSequence {
public:
    void Begin(Sequence sequence) { m_running = sequence; }
    // Ends whatever runs: finished, failed, timed out or cut off by a disconnect.
    void End() { m_running = Sequence::Idle; }
    Sequence Running() const { return m_running; }

    // The request whose reply is awaited, and what that reply is for.
    void Expect(int command, int purpose) {
        m_lastCommand = command;
        m_replyPurpose = purpose;
    }
    int LastCommand() const { return m_lastCommand; }
    int ReplyPurpose() const { return m_replyPurpose; }
    // The information chain counts its steps in the reply purpose.
    int AdvanceReplyPurpose() { return ++m_replyPurpose; }

    static ExchangeControls Controls(Sequence running);
    ExchangeControls Controls() const { return Controls(m_running); }

private:
    Sequence m_running = Sequence::Idle;
    int m_lastCommand = 0;
    int m_replyPurpose = 0;
};
