#include "QueueWarning.h"

void WarnQueuesNotHeld(IUserNotifier& notifier, const std::vector<std::string>& queues) {
    if (queues.empty()) {
        return;
    }
    std::string names;
    for (const std::string& queue : queues) {
        names += (names.empty() ? "" : ", ") + queue;
    }
    notifier.ShowMessage(
        "Printer queues that may still print to the port (no permission to stop "
        "them): " +
            names,
        "CMiniPrinter: Printer queues", MessageIcon::Warning);
}
