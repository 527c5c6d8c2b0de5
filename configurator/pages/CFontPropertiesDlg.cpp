#include "CFontPropertiesDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CFontPropertiesDlg.h"

namespace {

bool Checked(const QListWidget* list, int row) {
    return list->item(row)->checkState() == Qt::Checked;
}

}  // namespace

CFontPropertiesDlg::CFontPropertiesDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CFontPropertiesDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_FONT));
    m_ui->heightLabel->setText(ConfigString(1022));
    m_ui->widthLabel->setText(ConfigString(1023));
    m_ui->styleLabel->setText(ConfigString(1024));
    for (int id : {1018, 1019, 1020}) {
        auto* item = new QListWidgetItem(ConfigString(id), m_ui->styleList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_ui->heightCombo->addItems(
        {ConfigString(1013), ConfigString(1015), ConfigString(1016), ConfigString(1017)});
    m_ui->widthCombo->addItems(
        {ConfigString(1014), ConfigString(1015), ConfigString(1016), ConfigString(1017)});
}

CFontPropertiesDlg::~CFontPropertiesDlg() = default;

void CFontPropertiesDlg::Refresh(const PrinterSettings& settings) {
    const FontValues values = FontValuesOf(settings.fontMode);
    m_ui->heightCombo->setCurrentIndex(values.heightIndex);
    m_ui->widthCombo->setCurrentIndex(values.widthIndex);
    const bool styles[] = {values.bold, values.underline, values.negative};
    for (int row = 0; row < 3; ++row) {
        m_ui->styleList->item(row)->setCheckState(styles[row] ? Qt::Checked : Qt::Unchecked);
    }
}

FontValues CFontPropertiesDlg::Values() const {
    FontValues values;
    values.heightIndex = m_ui->heightCombo->currentIndex();
    values.widthIndex = m_ui->widthCombo->currentIndex();
    values.bold = Checked(m_ui->styleList, 0);
    values.underline = Checked(m_ui->styleList, 1);
    values.negative = Checked(m_ui->styleList, 2);
    return values;
}

int CFontPropertiesDlg::Store(PrinterSettings& settings) {
    return StoreFont(Values(), settings);
}
