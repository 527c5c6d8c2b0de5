#include "LineNotices.h"

std::string PortNotOpenedText(const OpenFailure& failure) {
    const std::string cause = DescribeOpenFailure(failure);
    // The first line is the one the window has always shown; the second says what to do.
    return cause.empty() ? "Can't open a specified port" : "Can't open a specified port\n" + cause;
}

void ShowUnstarted(IUserNotifier& notifier, const OpenFailure& failure) {
    const auto threadWarning = [&notifier](const char* where) {
        notifier.ShowMessage(std::string("thread will not be created from ") + where, "",
                             MessageIcon::Warning);
    };
    switch (failure.unstarted) {
        case Unstarted::ChannelWatch:
            threadWarning("CCommandChannel()");
            break;
        case Unstarted::SerialReader:
            threadWarning("OpenConnection()");
            break;
        case Unstarted::LoadWatchdog:
            threadWarning("CLoadLink()");
            break;
        case Unstarted::Sockets:
            notifier.ShowMessage("Failed to Initialize Sockets", "Error!", MessageIcon::Error);
            break;
        case Unstarted::SocketReader:
        case Unstarted::Nothing:
            break;
    }
}

void ShowLineLoss(IUserNotifier& notifier, LineLoss loss) {
    switch (loss) {
        case LineLoss::PeerClosed:
            notifier.ShowMessage("ERROR #4", notifier.ApplicationTitle(), MessageIcon::Error);
            break;
        case LineLoss::ReceiveFailed:
            notifier.ShowMessage("ERROR #5", notifier.ApplicationTitle(), MessageIcon::Error);
            break;
        case LineLoss::None:
            break;
    }
}
