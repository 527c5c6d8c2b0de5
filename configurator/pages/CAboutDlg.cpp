#include "CAboutDlg.h"

#include <QIcon>
#include <QKeyEvent>

#include "Resources.h"

#include "Tq20Version.h"
#include "ui_CAboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlg>()) {
    LoadResources();
    m_ui->setupUi(this);
    m_ui->version->setText(tr("Версия %1").arg(QString::fromLatin1(kTq20Version)));
    m_ui->icon->setPixmap(QIcon(":/icons/configurator.xpm").pixmap(32, 32));
}

CAboutDlg::~CAboutDlg() = default;

void CAboutDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
