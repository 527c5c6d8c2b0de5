// tq20's load of one data file: what "tq20 load" does for each printer.
#include "LoadRun.h"

#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "CLoadLink.h"
#include "CPortQueueHold.h"
#include "Console.h"
#include "ConsoleNotifier.h"
#include "DataFile.h"
#include "ExitCodes.h"
#include "LineNotices.h"
#include "LoadMessages.h"
#include "PrinterNotices.h"
#include "ProgramQueues.h"

namespace {

const std::map<LoadMessage, int> kExitCodes{
    {LM_DONE, kLoadDone},
    {LM_TIMEOUT, kLoadTimeout},
    {LM_BAD_CONTROLLER, kLoadBadController},
    {LM_MODEL_MISMATCH, kLoadModelMismatch},
    {LM_BAD_PACKET, kLoadBadPacket},
    {LM_BAD_COMMAND, kLoadBadCommand},
    {LM_BAD_BOOT_REPLY, kLoadBadCommand},
    {LM_BAD_ADDRESS, kLoadBadAddress},
    {LM_BAD_SIZE, kLoadBadSize},
    {LM_INTEGRITY, kLoadIntegrity},
    {LM_NO_DATA, kLoadNoData},
    {LM_BAD_BLOCK_CRC, kLoadBadBlockCrc},
    {LM_BAD_ECHO, kLoadBadEcho},
    {LM_LINE_LOST, kLoadLineLost},
    {LM_NO_ROOM, kLoadNoRoom},
};

// Hands the link's notifications to the main thread, which does all the printing.
class CLoadEvents final : public ILoadOwner {
public:
    void OnLoadMessage(LoadMessage message) override { Push(message); }
    void OnRecordTaken() override { Push(LM_STEP); }

    LoadMessage Next() {
        std::unique_lock lock(m_mutex);
        m_arrived.wait(lock, [this] { return !m_queue.empty(); });
        const LoadMessage message = m_queue.front();
        m_queue.pop_front();
        return message;
    }

private:
    void Push(LoadMessage message) {
        std::lock_guard lock(m_mutex);
        m_queue.push_back(message);
        m_arrived.notify_one();
    }

    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::deque<LoadMessage> m_queue;
};

std::string StatusText(const CLoadData& data) {
    return LoadStatusText(data.Model(), data.File().IsProgram());
}

int Fail(const std::string& text, int code) {
    Err() << text << '\n';
    return code;
}

}  // namespace

int LoadDataFile(const ChannelConfig& line, const std::string& path, IJobProgress& progress) {
    const DataFileResult read = ReadDataFile(path);
    if (read.status == DataFileStatus::CannotOpen) {
        return Fail(LoadString(IDS_CANNOT_OPEN_FILE), kLoadCannotOpenFile);
    }
    if (read.status != DataFileStatus::Ok) {
        return Fail(LoadString(IDS_BAD_FILE_DATA), kLoadBadFile);
    }
    CLoadData data(read.file);
    CLoadEvents events;
    CConsoleNotifier notifier;
    const CPortQueueHold hold(ProgramQueues(), line.portName);
    ShowQueuesNotHeld(notifier, hold.NotHeld());
    auto link = std::make_unique<CLoadLink>(events, data, line);
    if (!link->IsOpen()) {
        ShowUnstarted(notifier, link->LastOpenFailure());
        return Fail(LoadPortNotOpenedText(link->LastOpenFailure()), kLoadPortNotOpened);
    }
    // Progress counts payload bytes taken for sending: exact for any size and any font start.
    progress.Start(StatusText(data), data.PayloadSize());
    if (data.File().IsProgram()) {
        link->StartProgramLoad();
    } else {
        link->StartFontLoad();
    }
    for (;;) {
        const LoadMessage message = events.Next();
        if (message == LM_STEP) {
            progress.Show(data.Taken());
        } else if (message == LM_STATUS) {
            progress.Retitle(StatusText(data));
        } else {
            progress.Finish();
            if (message == LM_LINE_LOST) {
                ShowLineLoss(notifier, link->LastLineLoss());
            }
            const std::string text =
                LoadMessageText(message, data.Model(), data.File().IsProgram());
            // The ending is told first: closing the link may still take the printer's last
            // answer.
            const int code = message == LM_DONE ? kLoadDone : Fail(text, kExitCodes.at(message));
            if (message == LM_DONE) {
                Out() << text << std::endl;
            }
            link.reset();
            return code;
        }
    }
}
