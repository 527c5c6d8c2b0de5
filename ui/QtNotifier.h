#pragma once

#include <QPointer>
#include <QWidget>

#include "UserNotifier.h"

// Message boxes: modal on the UI thread. A message from another thread is queued to the UI
// thread rather than shown where it was raised.
class CQtNotifier final : public IUserNotifier {
public:
    void SetParent(QWidget* parent) { m_parent = parent; }
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon icon) override;
    std::string ApplicationTitle() const override;
    Answer Ask(const std::string& text, const std::string& caption, Question question) override;

private:
    void Show(const QString& text, const QString& caption, MessageIcon icon);

    QPointer<QWidget> m_parent;
};
