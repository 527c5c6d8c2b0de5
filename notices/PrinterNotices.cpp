#include "PrinterNotices.h"

#include "LineNotices.h"

namespace {

struct Refusal {
    int error;
    const char* text;
    const char* caption;
};

// Port access is worded from its open failure, below.
constexpr Refusal kRefusals[] = {
    {kPrinterErrorNoSuchCommand, "No such command", "CMiniPrinter: Internal Command Error"},
    {kPrinterErrorNotEnoughParameters, "Not enough parameters",
     "CMiniPrinter: Internal Parameters Error"},
    {kPrinterErrorAlreadyConnected, "There is an opened connection",
     "CMiniPrinter: Connection already exists"},
    {kPrinterErrorNotConnected, "There is no opened connection",
     "CMiniPrinter: Port is not opened"},
    {kPrinterErrorNoSuchOption, "No such option to save", "CMiniPrinter: Internal Command Error"},
    {kPrinterErrorBufferTooSmall, "Internal buffer is not large enough",
     "CMiniPrinter: Internal Error"},
};

}  // namespace

void ShowPrinterRefusal(IUserNotifier& notifier, const CMiniPrinter& printer) {
    if (printer.LastError() == kPrinterErrorPortAccess) {
        ShowUnstarted(notifier, printer.LastOpenFailure());
        notifier.ShowMessage(PortNotOpenedText(printer.LastOpenFailure()),
                             "CMiniPrinter: Port access error", MessageIcon::Error);
        return;
    }
    for (const Refusal& refusal : kRefusals) {
        if (refusal.error == printer.LastError()) {
            notifier.ShowMessage(refusal.text, refusal.caption, MessageIcon::Error);
        }
    }
}

void ShowConnectNotices(IUserNotifier& notifier, const CMiniPrinter& printer) {
    ShowQueuesNotHeld(notifier, printer.QueuesNotHeld());
    ShowPrinterRefusal(notifier, printer);
}

void ShowQueuesNotHeld(IUserNotifier& notifier, const std::vector<std::string>& queues) {
    if (queues.empty()) {
        return;
    }
    std::string names;
    for (const std::string& queue : queues) {
        names += (names.empty() ? "" : ", ") + queue;
    }
    notifier.ShowMessage(
        "Printer queues that may still print to the port (no permission to stop them): " + names,
        "CMiniPrinter: Printer queues", MessageIcon::Warning);
}
