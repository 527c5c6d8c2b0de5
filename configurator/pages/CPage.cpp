#include "CPage.h"

#include <QKeyEvent>

CPage::CPage(IPageHost& host, QWidget* parent) : QWidget(parent), m_host(host) {}

void CPage::showEvent(QShowEvent* event) {
    Refresh(m_host.Settings());
    QWidget::showEvent(event);
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
