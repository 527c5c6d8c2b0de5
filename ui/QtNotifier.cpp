#include "QtNotifier.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>

#include "TextTranslation.h"

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

QString ButtonText(const char* text) {
    return QString::fromUtf8(TranslatedText("QtNotifier", text));
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

// The buttons carry the program's own words, so they follow its language and not Qt's.
Answer CQtNotifier::Ask(const std::string& text, const std::string& caption, Question question) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(caption),
                    QString::fromStdString(text), QMessageBox::NoButton, m_parent);
    const auto add = [&box](const char* label, QMessageBox::ButtonRole role) {
        return box.addButton(ButtonText(label), role);
    };
    if (question == Question::YesNo) {
        QPushButton* yes = add("Да", QMessageBox::YesRole);
        QPushButton* no = add("Нет", QMessageBox::NoRole);
        box.setDefaultButton(no);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? Answer::Yes : Answer::No;
    }
    QPushButton* save = add("Сохранить", QMessageBox::AcceptRole);
    QPushButton* discard = add("Не сохранять", QMessageBox::DestructiveRole);
    QPushButton* cancel = add("Отмена", QMessageBox::RejectRole);
    box.setDefaultButton(save);
    box.setEscapeButton(cancel);
    box.exec();
    return box.clickedButton() == save      ? Answer::Save
           : box.clickedButton() == discard ? Answer::Discard
                                            : Answer::Cancel;
}
