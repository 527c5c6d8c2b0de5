#include "CPage.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

CPage::CPage(IPageHost& host, QWidget* parent) : QWidget(parent), m_host(host) {}

void CPage::showEvent(QShowEvent* event) {
    Reload();
    QWidget::showEvent(event);
}

// A page that shows a record it would store differently (a byte it reads as another value)
// has no edits until the user changes something.
void CPage::Reload() {
    Refresh(m_host.Settings());
    m_filledFrom = m_host.Settings();
    m_filledAs = m_filledFrom;
    Store(*m_filledAs);
}

bool CPage::HasEdits() {
    if (SaveGroup() < 0 || !m_filledFrom) {
        return false;
    }
    PrinterSettings now = *m_filledFrom;
    Store(now);
    return now != *m_filledAs;
}

void CPage::WatchControls() {
    for (auto* list : findChildren<QComboBox*>()) {
        connect(list, &QComboBox::currentIndexChanged, this, &CPage::Edited);
    }
    for (auto* button : findChildren<QAbstractButton*>()) {
        connect(button, &QAbstractButton::toggled, this, &CPage::Edited);
    }
    for (auto* field : findChildren<QLineEdit*>()) {
        connect(field, &QLineEdit::textChanged, this, &CPage::Edited);
    }
    for (auto* slider : findChildren<QAbstractSlider*>()) {
        connect(slider, &QAbstractSlider::valueChanged, this, &CPage::Edited);
    }
}

void CPage::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QWidget::keyPressEvent(event);
    }
}
