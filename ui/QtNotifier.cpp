#include "QtNotifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

namespace {

QMessageBox::Icon BoxIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Error:
            return QMessageBox::Critical;
        case MessageIcon::Warning:
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

}  // namespace

void CQtNotifier::ShowMessage(const std::string& text, const std::string& caption,
                              MessageIcon icon) {
    const QString qtext = QString::fromStdString(text);
    const QString qcaption = QString::fromStdString(caption);
    if (QThread::currentThread() == qApp->thread()) {
        Show(qtext, qcaption, icon);
        return;
    }
    QMetaObject::invokeMethod(
        qApp, [this, qtext, qcaption, icon] { Show(qtext, qcaption, icon); }, Qt::QueuedConnection);
}

std::string CQtNotifier::ApplicationTitle() const {
    return QApplication::applicationName().toStdString();
}

void CQtNotifier::Show(const QString& text, const QString& caption, MessageIcon icon) {
    QMessageBox box(BoxIcon(icon), caption, text, QMessageBox::Ok, m_parent);
    box.exec();
}
