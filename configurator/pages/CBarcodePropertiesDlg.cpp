#include "CBarcodePropertiesDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CBarcodePropertiesDlg.h"

CBarcodePropertiesDlg::CBarcodePropertiesDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CBarcodePropertiesDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_BARCODE));
    m_ui->heightLabel->setText(ConfigString(IDS_BARCODE_HEIGHT_LABEL));
    m_ui->widthLabel->setText(ConfigString(IDS_BARCODE_WIDTH_LABEL));
    m_ui->aboveBelowLabel->setText(ConfigString(IDS_WHITE_TOP_BOTTOM_LABEL));
    m_ui->leftRightLabel->setText(ConfigString(IDS_WHITE_LEFT_RIGHT_LABEL));
    m_ui->indentLabel->setText(ConfigString(IDS_INDENT_LABEL));
    m_ui->readableCheck->setText(ConfigString(IDS_READABLE_CHECK));
    m_ui->heightEdit->TakeRangeOf("barcodeHeight");
    m_ui->widthEdit->TakeRangeOf("barcodeWidth");
    m_ui->aboveBelowEdit->TakeRangeOf("whiteTopBottom");
    m_ui->leftRightEdit->TakeRangeOf("whiteLeftRight");
    m_ui->indentEdit->TakeRangeOf("barcodeLeftIndent");
}

CBarcodePropertiesDlg::~CBarcodePropertiesDlg() = default;

void CBarcodePropertiesDlg::Refresh(const PrinterSettings& settings) {
    const BarcodeValues values = BarcodeValuesOf(settings);
    m_ui->heightEdit->setText(QString::fromStdString(values.height));
    m_ui->widthEdit->setText(QString::fromStdString(values.width));
    m_ui->aboveBelowEdit->setText(QString::fromStdString(values.aboveBelow));
    m_ui->leftRightEdit->setText(QString::fromStdString(values.leftRight));
    m_ui->indentEdit->setText(QString::fromStdString(values.leftIndent));
    m_ui->readableCheck->setChecked(values.readable);
}

BarcodeValues CBarcodePropertiesDlg::Values() const {
    return {m_ui->heightEdit->text().toStdString(),     m_ui->widthEdit->text().toStdString(),
            m_ui->aboveBelowEdit->text().toStdString(), m_ui->leftRightEdit->text().toStdString(),
            m_ui->indentEdit->text().toStdString(),     m_ui->readableCheck->isChecked()};
}

int CBarcodePropertiesDlg::Store(PrinterSettings& settings) {
    return StoreBarcode(Values(), settings);
}

CNumberField* CBarcodePropertiesDlg::FirstRefusedField() const {
    return CNumberField::FirstRefused({m_ui->heightEdit, m_ui->widthEdit, m_ui->aboveBelowEdit,
                                       m_ui->leftRightEdit, m_ui->indentEdit});
}
