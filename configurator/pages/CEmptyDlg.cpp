#include "CEmptyDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CEmptyDlg.h"

CEmptyDlg::CEmptyDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CEmptyDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_NO_CONNECTION));
}

CEmptyDlg::~CEmptyDlg() = default;
