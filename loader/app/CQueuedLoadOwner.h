#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

#include "LoadMessages.h"

// Carries a load's notifications from the link's threads to the window's thread. Nothing waits
// for the window, so the window may delete the link at any time; a notification that arrives
// after the window is gone is dropped.
class CQueuedLoadOwner final : public ILoadOwner {
public:
    using Handler = std::function<void(LoadMessage)>;

    CQueuedLoadOwner(QObject* window, Handler onMessage, std::function<void()> onRecord);

    void OnLoadMessage(LoadMessage message) override;
    void OnRecordTaken() override;

private:
    QPointer<QObject> m_window;
    Handler m_onMessage;
    std::function<void()> m_onRecord;
};
