#pragma once

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>
#include <cstdio>

#include "QtNotifier.h"
#include "ScreenshotWait.h"

// Messages go to standard error; a question is shown as the window shows it, drawn into the
// picture named for it, and then answered with Escape, which changes nothing.
class CShotNotifier final : public IUserNotifier {
public:
    void ShowMessage(const std::string& text, const std::string& caption,
                     MessageIcon /*icon*/) override {
        std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
    }
    std::string ApplicationTitle() const override { return "screenshots"; }
    Answer Ask(const std::string& text, const std::string& caption, Question question) override {
        QTimer::singleShot(300, [this] {
            QWidget* box = QApplication::activeModalWidget();
            if (box == nullptr) {
                return;
            }
            if (!m_questionShot.isEmpty()) {
                SaveShot(box, m_questionShot);
            }
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(box, &escape);
        });
        return m_boxes.Ask(text, caption, question);
    }
    // The picture the next question goes into; empty for none.
    void ShootQuestionInto(const QString& path) { m_questionShot = path; }

private:
    CQtNotifier m_boxes;
    QString m_questionShot;
};
