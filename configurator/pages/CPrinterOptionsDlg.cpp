#include "CPrinterOptionsDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CPrinterOptionsDlg.h"

CPrinterOptionsDlg::CPrinterOptionsDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CPrinterOptionsDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_PRINTER_SETTINGS));
    m_ui->sleepLabel->hide();
    m_ui->sleepEdit->hide();
    m_ui->feedCheck->setText(ConfigString(IDS_FEED_CHECK));
    m_ui->statusCheck->setText(ConfigString(IDS_STATUS_CHECK));
    m_ui->restoreBox->setTitle(ConfigString(IDS_RESTORE_BOX));
    m_ui->factoryButton->setText(ConfigString(IDS_RESTORE_FACTORY));
    m_ui->savedButton->setText(ConfigString(IDS_RESTORE_SAVED));
    connect(m_ui->factoryButton, &QPushButton::clicked, this, &CPrinterOptionsDlg::RestoreFactory);
    connect(m_ui->savedButton, &QPushButton::clicked, this, &CPrinterOptionsDlg::RestoreSaved);
}

CPrinterOptionsDlg::~CPrinterOptionsDlg() = default;

void CPrinterOptionsDlg::Refresh(const PrinterSettings& settings) {
    const OptionsValues values = OptionsValuesOf(settings);
    m_ui->feedCheck->setChecked(values.feedEnabled);
    m_ui->statusCheck->setChecked(values.statusAutoReturn);
}

OptionsValues CPrinterOptionsDlg::Values() const {
    return {m_ui->feedCheck->isChecked(), m_ui->statusCheck->isChecked()};
}

int CPrinterOptionsDlg::Store(PrinterSettings& settings) {
    return StoreOptions(Values(), settings);
}

void CPrinterOptionsDlg::SetRestoreButtonsEnabled(bool enabled) {
    m_ui->factoryButton->setEnabled(enabled);
    m_ui->savedButton->setEnabled(enabled);
}
