#include "CPrintingPropertiesDlg.h"

#include "ConfiguratorStrings.h"
#include "ui_CPrintingPropertiesDlg.h"

CPrintingPropertiesDlg::CPrintingPropertiesDlg(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CPrintingPropertiesDlg>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_PRINTING));
    m_ui->contrastLabel->setText(ConfigString(IDS_CONTRAST_LABEL));
    m_ui->speedLabel->setText(ConfigString(IDS_SPEED_PRINT_LABEL));
    m_ui->dotsLabel->setText(ConfigString(IDS_DOTS_LABEL));
    m_ui->dotsNote->setText(ConfigString(IDS_DOTS_NOTE));
    m_ui->dotsCombo->addItems({" 32", " 64", " 96", "128"});
    for (QSlider* bar : {m_ui->contrastBar, m_ui->speedBar}) {
        bar->setRange(0, 255);
        bar->setTickPosition(QSlider::NoTicks);
    }
    // Each label follows its trackbar, also while it is dragged.
    connect(m_ui->contrastBar, &QSlider::valueChanged, m_ui->contrastValue,
            [this](int value) { m_ui->contrastValue->setNum(value); });
    connect(m_ui->speedBar, &QSlider::valueChanged, m_ui->speedValue,
            [this](int value) { m_ui->speedValue->setNum(value); });
}

CPrintingPropertiesDlg::~CPrintingPropertiesDlg() = default;

void CPrintingPropertiesDlg::Refresh(const PrinterSettings& settings) {
    m_ui->contrastBar->setValue(settings.contrast);
    m_ui->speedBar->setValue(settings.printSpeed);
    m_ui->contrastValue->setNum(settings.contrast);
    m_ui->speedValue->setNum(settings.printSpeed);
    m_ui->dotsCombo->setCurrentIndex(DotsItemIndex(settings.dotsCount));
}

PrintingValues CPrintingPropertiesDlg::Values() const {
    return {m_ui->contrastBar->value(), m_ui->speedBar->value(),
            m_ui->dotsCombo->currentText().trimmed().toInt()};
}

int CPrintingPropertiesDlg::Store(PrinterSettings& settings) {
    return StorePrinting(Values(), settings);
}

std::vector<FlowCharacterChange> CPrintingPropertiesDlg::FlowChanges() const {
    return PrintingFlowChanges(Values());
}
