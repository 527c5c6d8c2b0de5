#include "CAboutDlg.h"

#include <QIcon>

#include "ui_CAboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlg>()) {
    m_ui->setupUi(this);
    m_ui->icon->setPixmap(QIcon(":/icons/configurator.xpm").pixmap(32, 32));
    setFixedSize(size());
}

CAboutDlg::~CAboutDlg() = default;
