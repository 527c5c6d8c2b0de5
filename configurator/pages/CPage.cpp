#include "CPage.h"

#include <QKeyEvent>

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
