#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "CLoadData.h"
#include "LoadMessages.h"

// The loader's side of the boot area's block protocol, without any I/O: bytes from the printer
// go in; the next request, whether to wait for a reply, and the notifications come out.
class CLoadProtocol {
public:
    struct Step {
        std::vector<std::uint8_t> request;  // to be written, when not empty
        bool awaitReply = false;            // start (or restart) the reply watchdog
        std::vector<LoadMessage> messages;  // in order
        bool recordTaken = false;           // a program record was taken: progress step
    };

    explicit CLoadProtocol(CLoadData& data) : m_data(data) {}

    Step StartProgramLoad();
    Step StartFontLoad();
    Step OnBytes(std::span<const std::uint8_t> bytes);
    // The printer fell silent for the watchdog's whole length.
    Step OnSilence();
    // The line is gone.
    Step OnLineLost();
    // The step's request could not be written, the last block-done request included: the
    // line is gone, and a load that had just ended well has not.
    Step OnWriteFailed(Step step);
    // The user ends the load: idle at once, with no ending to report, since the user knows.
    // False when the load had ended already; its ending is then the one to report.
    bool Stop();

    int State() const { return m_state; }
    bool IsBusy() const { return m_state != 0; }
    const LoadBlock& Block() const { return m_block; }
    std::uint8_t Flag() const { return m_flag; }

private:
    Step StepState();
    Step OnControllerCode();
    Step OnModelReply();
    Step OnOpenBlockReply();
    Step OnAddressReply();
    Step OnLengthReply();
    Step OnDataReply();
    Step OnBlockDoneReply();

    Step Request(int state, std::vector<std::uint8_t> bytes, int expected);
    Step OpenBlock(int state);
    Step BlockDone(int nextState, Step step);
    Step Fail(LoadMessage message) { return Fail(message, Step()); }
    Step Fail(LoadMessage message, Step step);
    static Step Wait();
    static Step Notify(LoadMessage message);
    bool FlagFaulty() const;
    bool StatusFaulty() const;
    bool LettersAt(std::size_t at, std::initializer_list<std::uint8_t> letters) const;
    bool IsFont() const { return m_state >= 8; }

    CLoadData& m_data;
    LoadBlock m_block;
    std::vector<std::uint8_t> m_rx;
    int m_expected = 0;
    int m_state = 0;
    std::uint8_t m_status = 0;
    std::uint8_t m_flag = 0;
    int m_blocksSent = 0;
    std::string m_printerModel;
};
