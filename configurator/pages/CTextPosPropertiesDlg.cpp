#include "CTextPosPropertiesDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CTextPosPropertiesDlg.h"

CTextPosPropertiesDlg::CTextPosPropertiesDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CTextPosPropertiesDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_TEXT_POSITION));
    m_ui->tabLabel->setText(ConfigString(IDS_TABULATION_LABEL));
    m_ui->indentLabel->setText(ConfigString(IDS_INDENT_LABEL));
    m_ui->alignmentLabel->setText(ConfigString(IDS_ALIGNMENT_LABEL));
    m_ui->fieldLabel->setText(ConfigString(IDS_FIELD_LABEL));
    // Left, right, centre: the list order is not the order of the string numbers.
    m_ui->alignmentCombo->addItems({ConfigString(IDS_ALIGN_LEFT), ConfigString(IDS_ALIGN_RIGHT),
                                    ConfigString(IDS_ALIGN_CENTRE)});
    m_ui->indentEdit->TakeRangeOf("leftIndent");
    m_ui->fieldEdit->TakeRangeOf("printFieldWidth");
    m_ui->tabEdit->TakeRangeOf("tabulation");
}

CTextPosPropertiesDlg::~CTextPosPropertiesDlg() = default;

void CTextPosPropertiesDlg::Refresh(const PrinterSettings& settings) {
    const TextPositionValues values = TextPositionValuesOf(settings);
    m_ui->alignmentCombo->setCurrentIndex(values.alignmentIndex);
    m_ui->indentEdit->setText(QString::fromStdString(values.leftIndent));
    m_ui->fieldEdit->setText(QString::fromStdString(values.fieldWidth));
    m_ui->tabEdit->setText(QString::fromStdString(values.tabulation));
}

TextPositionValues CTextPosPropertiesDlg::Values() const {
    return {m_ui->alignmentCombo->currentIndex(), m_ui->indentEdit->text().toStdString(),
            m_ui->fieldEdit->text().toStdString(), m_ui->tabEdit->text().toStdString()};
}

int CTextPosPropertiesDlg::Store(PrinterSettings& settings) {
    return StoreTextPosition(Values(), settings);
}

CNumberField* CTextPosPropertiesDlg::FirstRefusedField() const {
    return CNumberField::FirstRefused({m_ui->indentEdit, m_ui->fieldEdit, m_ui->tabEdit});
}
