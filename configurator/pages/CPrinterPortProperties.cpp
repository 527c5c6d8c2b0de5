#include "CPrinterPortProperties.h"

#include "ConfiguratorStrings.h"
#include "LineLists.h"
#include "ui_CPrinterPortProperties.h"

CPrinterPortProperties::CPrinterPortProperties(IPageHost& host, QWidget* parent)
    : CPage(host, parent), m_ui(std::make_unique<Ui::CPrinterPortProperties>()) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_RS232));
    m_ui->baudLabel->setText(ConfigString(IDS_SPEED_LABEL));
    m_ui->framingLabel->setText(ConfigString(IDS_FRAMING_LABEL));
    m_ui->dataBitsLabel->setText(ConfigString(IDS_DATA_BITS_LABEL));
    m_ui->flowLabel->setText(ConfigString(IDS_FLOW_LABEL));
    m_ui->baudCombo->addItems(BaudRateItems());
    m_ui->flowCombo->addItems(FlowControlItems());
    m_ui->framingCombo->addItems(FramingItems());
    m_ui->dataBitsCombo->addItem("8");
    m_ui->dataBitsCombo->setCurrentIndex(0);
}

CPrinterPortProperties::~CPrinterPortProperties() = default;

void CPrinterPortProperties::Refresh(const PrinterSettings& settings) {
    SetValues(PortValuesOf(settings));
}

void CPrinterPortProperties::SetValues(const PortValues& values) {
    m_ui->baudCombo->setCurrentIndex(values.baudIndex);
    m_ui->framingCombo->setCurrentIndex(values.framingIndex);
    m_ui->flowCombo->setCurrentIndex(values.flowIndex);
}

PortValues CPrinterPortProperties::Values() const {
    return {m_ui->baudCombo->currentIndex(), m_ui->framingCombo->currentIndex(),
            m_ui->flowCombo->currentIndex()};
}

int CPrinterPortProperties::Store(PrinterSettings& settings) {
    return StorePort(Values(), settings);
}
