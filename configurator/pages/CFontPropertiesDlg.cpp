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
    m_ui->heightLabel->setText(ConfigString(IDS_HEIGHT_LABEL));
    m_ui->widthLabel->setText(ConfigString(IDS_WIDTH_LABEL));
    m_ui->styleLabel->setText(ConfigString(IDS_STYLE_LABEL));
    for (int id : {IDS_STYLE_BOLD, IDS_STYLE_UNDERLINE, IDS_STYLE_NEGATIVE}) {
        auto* item = new QListWidgetItem(ConfigString(id), m_ui->styleList);
        item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
        item->setCheckState(Qt::Unchecked);
    }
    m_ui->heightCombo->addItems({ConfigString(IDS_FONT_LOW), ConfigString(IDS_SIZE_NORMAL),
                                 ConfigString(IDS_SIZE_DOUBLE), ConfigString(IDS_SIZE_QUADRUPLE)});
    m_ui->widthCombo->addItems({ConfigString(IDS_FONT_NARROW), ConfigString(IDS_SIZE_NORMAL),
                                ConfigString(IDS_SIZE_DOUBLE), ConfigString(IDS_SIZE_QUADRUPLE)});
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
