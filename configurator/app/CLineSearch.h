#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <thread>

#include "CLineDetector.h"
#include "CPortQueueHold.h"
#include "PrinterQueues.h"
#include "UserNotifier.h"

// The line search for the window: runs on a thread of its own, keeps the port's printer queues
// off it meanwhile, and reports on the window's thread.
class CLineSearch final : public QObject {
    Q_OBJECT

public:
    CLineSearch(IPrinterQueues& queues, IUserNotifier& notifier, QObject* parent = nullptr);
    // A search still running is cancelled and waited for.
    ~CLineSearch() override;

    void Start(const std::string& portName);
    void Cancel();
    bool Running() const { return m_detector != nullptr; }
    // The outcome of the last search, once Finished has been emitted.
    const LineDetection& Result() const { return m_result; }

signals:
    void Progress(int index, int count, const SerialLineRequest& trying);
    void Finished();

private:
    void Finish(const LineDetection& result);

    IPrinterQueues& m_queues;
    IUserNotifier& m_notifier;
    std::unique_ptr<CPortQueueHold> m_hold;
    std::unique_ptr<CLineDetector> m_detector;
    std::thread m_thread;
    LineDetection m_result;
};
