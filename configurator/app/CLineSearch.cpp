#include "CLineSearch.h"

#include <system_error>

#include "PrinterNotices.h"

CLineSearch::CLineSearch(IPrinterQueues& queues, IUserNotifier& notifier, QObject* parent)
    : QObject(parent), m_queues(queues), m_notifier(notifier) {}

CLineSearch::~CLineSearch() {
    if (m_detector) {
        m_detector->Cancel();
    }
    if (m_thread.joinable()) {
        m_thread.join();
    }
}

// Reports travel as queued calls: they run on the window's thread, and not at all once this
// object is gone.
void CLineSearch::Start(const std::string& portName) {
    if (Running()) {
        return;
    }
    m_hold = std::make_unique<CPortQueueHold>(m_queues, portName);
    ShowQueuesNotHeld(m_notifier, m_hold->NotHeld());
    m_detector = std::make_unique<CLineDetector>(portName);
    try {
        m_thread = std::thread([this, detector = m_detector.get()] {
            const LineDetection result =
                detector->Run([this](int index, int count, const SerialLineRequest& trying) {
                    QMetaObject::invokeMethod(
                        this, [this, index, count, trying] { emit Progress(index, count, trying); },
                        Qt::QueuedConnection);
                });
            QMetaObject::invokeMethod(
                this, [this, result] { Finish(result); }, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        LineDetection failed;
        failed.status = LineDetection::Status::PortNotOpened;
        failed.openFailure = OpenFailure(OpenFailureKind::NoThread, portName);
        QMetaObject::invokeMethod(
            this, [this, failed] { Finish(failed); }, Qt::QueuedConnection);
    }
}

void CLineSearch::Cancel() {
    if (m_detector) {
        m_detector->Cancel();
    }
}

void CLineSearch::Finish(const LineDetection& result) {
    if (m_thread.joinable()) {
        m_thread.join();
    }
    m_detector.reset();
    m_hold.reset();
    m_result = result;
    emit Finished();
}
