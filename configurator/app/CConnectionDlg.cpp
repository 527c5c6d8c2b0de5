#include "CConnectionDlg.h"

#include <algorithm>

#include "CLineSearch.h"
#include "ConfiguratorStrings.h"
#include "FactoryLine.h"
#include "LineItems.h"
#include "LineLists.h"
#include "LineNotices.h"
#include "PortCombo.h"
#include "PortDiscovery.h"
#include "PrinterLine.h"
#include "SerialPortList.h"
#include "ui_CConnectionDlg.h"

namespace {

std::vector<std::string> DiscoverPorts(IPrinterQueues& queues,
                                       const std::vector<std::string>& extraPorts) {
    std::vector<std::string> spooler = ListSpoolerPorts();
    if (const auto found = queues.EnumerateLocal()) {
        for (const PrinterQueue& queue : *found) {
            if (IsSerialSpoolerPort(queue.port) &&
                std::find(spooler.begin(), spooler.end(), queue.port) == spooler.end()) {
                spooler.push_back(queue.port);
            }
        }
    }
    std::vector<std::string> devices = ListSerialDevices();
    devices.insert(devices.end(), extraPorts.begin(), extraPorts.end());
    return MergePortLists(spooler, devices);
}

int FramingIndex(const SerialLineRequest& line) {
    return FramingIndexOf(line.parity, line.stopBits);
}

int SpeedIndex(unsigned baudRate) {
    const auto it = std::find(kPrinterPortSpeeds.begin(), kPrinterPortSpeeds.end(), baudRate);
    return static_cast<int>(it - kPrinterPortSpeeds.begin());
}

void SelectIndex(QComboBox* box, int index) {
    box->setCurrentIndex(index >= 0 && index < box->count() ? index : -1);
}

}  // namespace

CConnectionDlg::CConnectionDlg(IPageHost& host, CConversationDriver& driver,
                               IUserNotifier& notifier, IPrinterQueues& queues,
                               const std::vector<std::string>& extraPorts, QWidget* parent)
    : CPage(host, parent),
      m_ui(std::make_unique<Ui::CConnectionDlg>()),
      m_driver(driver),
      m_notifier(notifier),
      m_portList(DiscoverPorts(queues, extraPorts)),
      m_search(std::make_unique<CLineSearch>(queues, notifier)) {
    m_ui->setupUi(this);
    m_ui->groupBox->setTitle(ConfigString(IDS_CONNECTION));
    m_ui->interfaceLabel->setText(ConfigString(IDS_INTERFACE_LABEL));
    m_ui->portLabel->setText(ConfigString(IDS_PORT_LABEL));
    m_ui->baudLabel->setText(ConfigString(IDS_SPEED_LABEL));
    m_ui->framingLabel->setText(ConfigString(IDS_FRAMING_LABEL));
    m_ui->dataBitsLabel->setText(ConfigString(IDS_DATA_BITS_LABEL));
    m_ui->flowLabel->setText(ConfigString(IDS_FLOW_LABEL));
    m_ui->interfaceCombo->addItems({"RS-232", "IrDA"});
    m_ui->dataBitsCombo->addItem("8");
    m_ui->framingCombo->addItems(FramingItems());
    m_ui->baudCombo->addItems(BaudRateItems());
    m_ui->flowCombo->addItems(FlowControlItems());
    std::vector<std::string> sorted = m_portList;
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) <
               0;
    });
    for (const std::string& port : sorted) {
        m_ui->portCombo->addItem(QString::fromStdString(port));
    }
#ifndef _WIN32
    // A device path can be typed, so a simulator's pseudo-terminal can be chosen.
    m_ui->portCombo->setEditable(true);
#endif
    FitPortCombo(m_ui->portCombo);
    m_ui->interfaceCombo->setCurrentIndex(0);
    m_ui->dataBitsCombo->setCurrentIndex(0);
    m_ui->framingCombo->setCurrentIndex(0);
    m_ui->findButton->setText(tr("Найти принтер"));
    // Room for the search's two lines from the start: the window does not grow for them later.
    m_ui->findStatus->setMinimumHeight(2 * m_ui->findStatus->fontMetrics().lineSpacing());
    connect(m_ui->findButton, &QPushButton::clicked, this, &CConnectionDlg::FindPrinter);
    connect(m_search.get(), &CLineSearch::Progress, this, &CConnectionDlg::OnSearchProgress);
    connect(m_search.get(), &CLineSearch::Finished, this, &CConnectionDlg::OnSearchFinished);
    connect(&m_driver, &CConversationDriver::StateChanged, this,
            &CConnectionDlg::OnConnectionState);
    connect(&m_driver, &CConversationDriver::LineFollowed, this, [this](const LineChoice& line) {
        SelectLine(line.baudIndex, line.framingIndex, line.flowIndex);
    });
}

CConnectionDlg::~CConnectionDlg() = default;

// The port is found by its name where one was kept; a kept name that the system no longer lists
// (a typed path, an adapter not plugged in) is offered again rather than lost. Profiles from
// before names were kept select by index.
void CConnectionDlg::LoadChoices(IProfileStore& profile) {
    const std::string portName = profile.GetString("Interface", "PortName", "");
    if (portName.empty()) {
        SelectIndex(m_ui->portCombo, profile.GetInt("Interface", "PortIndex", 0));
    } else {
        const QString name = QString::fromStdString(portName);
        if (m_ui->portCombo->findText(name) < 0) {
            m_ui->portCombo->addItem(name);
            m_ui->portCombo->setItemData(m_ui->portCombo->count() - 1, name, Qt::ToolTipRole);
        }
        m_ui->portCombo->setCurrentIndex(m_ui->portCombo->findText(name));
    }
    SelectIndex(m_ui->baudCombo, profile.GetInt("Interface", "BaudRateIndex", kFactoryBaudIndex));
    SelectIndex(m_ui->flowCombo,
                profile.GetInt("Interface", "FlowControlIndex", kFactoryFlowIndex));
}

void CConnectionDlg::SaveChoices(IProfileStore& profile) const {
    profile.SetString("Interface", "PortName", PortName());
    profile.SetInt("Interface", "PortIndex", m_ui->portCombo->currentIndex());
    profile.SetInt("Interface", "BaudRateIndex", m_ui->baudCombo->currentIndex());
    profile.SetInt("Interface", "FlowControlIndex", m_ui->flowCombo->currentIndex());
}

void CConnectionDlg::SelectPort(const std::string& port) {
    // The list holds each port once, whatever the case of its letters.
    SelectIndex(m_ui->portCombo,
                m_ui->portCombo->findText(QString::fromStdString(port), Qt::MatchFixedString));
}

std::string CConnectionDlg::PortName() const {
    return m_ui->portCombo->currentText().trimmed().toStdString();
}

ConnectParameters CConnectionDlg::Parameters() const {
    return DeriveConnectParameters(m_ui->portCombo->currentText().trimmed().toStdString(),
                                   m_ui->baudCombo->currentText().toStdString(),
                                   m_ui->framingCombo->currentIndex(),
                                   m_ui->flowCombo->currentIndex());
}

void CConnectionDlg::EnableConnectionControls(bool enable) {
    m_ui->portCombo->setEnabled(enable);
    m_ui->baudCombo->setEnabled(enable);
    m_ui->flowCombo->setEnabled(enable);
    m_ui->findButton->setEnabled(enable);
}

void CConnectionDlg::SetConnectedTitle(bool connected) {
    m_ui->groupBox->setTitle(ConfigString(connected ? IDS_CONNECTED : IDS_CONNECTION));
}

void CConnectionDlg::SelectLine(int baudIndex, int framingIndex, int flowIndex) {
    m_ui->baudCombo->setCurrentIndex(baudIndex);
    m_ui->dataBitsCombo->setCurrentIndex(0);
    m_ui->framingCombo->setCurrentIndex(framingIndex);
    m_ui->flowCombo->setCurrentIndex(std::min(flowIndex, 3));
}

void CConnectionDlg::ToggleConnection() {
    const ConnectionState state = m_driver.State();
    if (state == ConnectionState::Connected) {
        m_driver.Disconnect();
    } else if (state == ConnectionState::NotConnected) {
        Connect();
    }
}

// The line's choices are the user's while not connected; connected, the title says so.
void CConnectionDlg::OnConnectionState(ConnectionState state) {
    switch (state) {
        case ConnectionState::NotConnected:
            SetConnectedTitle(false);
            EnableConnectionControls(true);
            break;
        case ConnectionState::Connecting:
            EnableConnectionControls(false);
            break;
        case ConnectionState::Connected:
            SetConnectedTitle(true);
            break;
    }
}

// An empty port name is refused here: the serial layer would only fail with a less clear message.
void CConnectionDlg::Connect() {
    const ConnectParameters parameters = Parameters();
    if (parameters.portName.empty()) {
        Warn(tr("Порт не выбран.\nВыберите порт, к которому подключен принтер."));
        return;
    }
    ChannelConfig line;
    line.portName = parameters.portName;
    line.baudRate = parameters.baudRate;
    line.parity = parameters.parity;
    line.flowControl = parameters.flowControl;
    line.stopBits = parameters.stopBits;
    m_driver.Connect(line);
}

void CConnectionDlg::Warn(const QString& text) {
    m_notifier.ShowMessage(text.toStdString(), "Velkor", MessageIcon::Exclamation);
}

void CConnectionDlg::FindPrinter() {
    if (m_search->Running()) {
        m_search->Cancel();
        return;
    }
    const std::string port = PortName();
    if (port.empty()) {
        Warn(tr("Порт не выбран.\nВыберите порт, к которому подключен принтер."));
        return;
    }
    ShowSearching(true);
    m_search->Start(port);
}

// While searching, the port belongs to the search: the line cannot be changed nor connected.
void CConnectionDlg::ShowSearching(bool searching) {
    m_ui->portCombo->setEnabled(!searching);
    m_ui->baudCombo->setEnabled(!searching);
    m_ui->flowCombo->setEnabled(!searching);
    emit SearchRunning(searching);
    m_ui->findButton->setText(searching ? tr("Остановить поиск") : tr("Найти принтер"));
    m_ui->findProgress->setVisible(searching);
    m_ui->findProgress->setValue(0);
    m_ui->findStatus->clear();
}

QString CConnectionDlg::LineText(const SerialLineRequest& line) const {
    return tr("%1 бит/с; %2; %3")
        .arg(line.baudRate)
        .arg(m_ui->framingCombo->itemText(FramingIndex(line)),
             m_ui->flowCombo->itemText(FlowIndexOf(line.flowControl)));
}

void CConnectionDlg::OnSearchProgress(int index, int count, const SerialLineRequest& trying) {
    m_ui->findProgress->setMaximum(count);
    m_ui->findProgress->setValue(index);
    m_ui->findStatus->setText(tr("Проверяется: %1").arg(LineText(trying)));
}

void CConnectionDlg::OnSearchFinished() {
    ShowSearching(false);
    const LineDetection& result = m_search->Result();
    switch (result.status) {
        case LineDetection::Status::Found:
            SelectLine(SpeedIndex(result.line.baudRate), FramingIndex(result.line),
                       FlowIndexOf(result.line.flowControl));
            m_ui->findStatus->setText(tr("Принтер найден: %1.").arg(LineText(result.line)));
            break;
        case LineDetection::Status::NoAnswer:
            m_ui->findStatus->setText(
                tr("Принтер не ответил ни при одной из %1 настроек линии.").arg(result.candidates));
            break;
        case LineDetection::Status::PortNotOpened:
            Warn(QString::fromStdString(PortNotOpenedText(result.openFailure)));
            break;
        case LineDetection::Status::LineLost:
            m_ui->findStatus->setText(ConfigString(IDS_LINE_LOST));
            break;
        case LineDetection::Status::Cancelled:
            m_ui->findStatus->setText(tr("Поиск остановлен."));
            break;
    }
}
