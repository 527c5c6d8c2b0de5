#include "CConfigDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QStyle>
#include <QTimer>
#include <QTreeWidgetItemIterator>
#include <algorithm>

#include "CAboutDlg.h"
#include "CBarcodePropertiesDlg.h"
#include "CConnectionDlg.h"
#include "CEmptyDlg.h"
#include "CFontPropertiesDlg.h"
#include "CPrinterInfoDlg.h"
#include "CPrinterOptionsDlg.h"
#include "CPrinterPortProperties.h"
#include "CPrintingPropertiesDlg.h"
#include "CTextPosPropertiesDlg.h"
#include "CommandTable.h"
#include "ConfiguratorStrings.h"
#include "ConversationTimings.h"
#include "FactoryLine.h"
#include "FlowCharacters.h"
#include "InfoText.h"
#include "LineNotices.h"
#include "OptionFrame.h"
#include "PrinterNotices.h"
#include "Resources.h"
#include "ui_CConfigDlg.h"

namespace {

constexpr int kAbsent = -9999;
constexpr int kPurposeConnect = 0;
constexpr int kPurposeSave = 16;
constexpr int kPurposeRestore = 32;
// While the information chain runs, the reply purpose counts its steps: 100 + k while item k
// is awaited, 50 while the state byte is.
constexpr int kInfoItemStep = 100;
constexpr int kInfoStateStep = 50;
constexpr int kInfoItems = 9;
// The waits between requests: after connecting, around a change of the printer's port.

QString Text(int id) {
    return QString::fromUtf8(ConfigString(id));
}

// The tree's items carry the page they show, so that a page is found by identity, not by its
// translated text.
constexpr int kPageIdRole = Qt::UserRole;

QTreeWidgetItem* PageItem(int textId, int pageId) {
    auto* item = new QTreeWidgetItem({Text(textId)});
    item->setData(0, kPageIdRole, pageId);
    return item;
}

int ConnectButtonLabel(ConnectionState state) {
    switch (state) {
        case ConnectionState::Connecting:
            return IDS_CONNECTING;
        case ConnectionState::Connected:
            return IDS_DISCONNECT;
        case ConnectionState::NotConnected:
            break;
    }
    return IDS_CONNECT;
}

}  // namespace

CConfigDlg::CConfigDlg(IUserNotifier& notifier, IProfileStore& profile, IPrinterQueues& queues,
                       const std::vector<std::string>& extraPorts, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CConfigDlg>()),
      m_notifier(notifier),
      m_profile(profile),
      m_queues(queues) {
    LoadResources();
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    RestorePosition();
    setWindowIcon(QIcon(":/icons/configurator.xpm"));
    setWindowTitle(Text(IDS_TITLE));
    // Where the window manager offers no system menu, the about entry is in the window's
    // context menu and on F1.
    connect(new QShortcut(QKeySequence::HelpContents, this), &QShortcut::activated, this,
            &CConfigDlg::OnAbout);
    FillTree();
    ShowConnection(ConnectionState::NotConnected);
    m_ui->saveButton->setText(Text(IDS_SAVE_SETTINGS));
    connect(m_ui->connectButton, &QPushButton::clicked, this, &CConfigDlg::OnConnectButton);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CConfigDlg::OnSaveButton);
    connect(m_ui->pageTree, &QTreeWidget::currentItemChanged, this, &CConfigDlg::OnSelchangedTree);
    // Precise timers never fire early: the waits are minimum spacings between requests.
    m_step.setSingleShot(true);
    m_step.setTimerType(Qt::PreciseTimer);
    connect(&m_step, &QTimer::timeout, this, [this] {
        auto step = std::move(m_nextStep);
        step();
    });

    m_connectionPage = new CConnectionDlg(*this, *this, m_queues, extraPorts, m_ui->pageArea);
    m_connectionPage->hide();
    m_ui->pageLayout->addWidget(m_connectionPage);
    m_connectionPage->SelectStored(
        m_profile.GetString("Interface", "PortName", ""),
        m_profile.GetInt("Interface", "PortIndex", 0),
        m_profile.GetInt("Interface", "BaudRateIndex", kFactoryBaudIndex),
        m_profile.GetInt("Interface", "FlowControlIndex", kFactoryFlowIndex));
    if (!extraPorts.empty()) {
        // A device named on the command line is the one the user means to use.
        m_connectionPage->SelectPort(extraPorts.front());
    }
    m_pages[kPageConnection] = m_connectionPage;
    ShowPage(kPageConnection);
}

CConfigDlg::~CConfigDlg() {
    // The connection goes first: its channel must not outlive the owners it reports to.
    m_printer.reset();
}

void CConfigDlg::FillTree() {
    auto* tree = m_ui->pageTree;
    tree->addTopLevelItem(PageItem(IDS_CONNECTION, kPageConnection));
    auto* settings = PageItem(IDS_PRINTER_SETTINGS, kPageOptions);
    tree->addTopLevelItem(settings);
    for (const auto& [textId, pageId] :
         {std::pair{IDS_PRINTING, kPagePrinting}, std::pair{IDS_FONT, kPageFont},
          std::pair{IDS_TEXT_POSITION, kPageTextPosition}, std::pair{IDS_BARCODE, kPageBarcode},
          std::pair{IDS_RS232, kPagePort}}) {
        settings->addChild(PageItem(textId, pageId));
    }
    tree->addTopLevelItem(PageItem(IDS_SERVICE_INFO, kPageInfo));
    tree->setCurrentItem(nullptr);
    FitTreeWidth();
}

// The tree does not scroll sideways: it is as wide as its widest item with every branch open,
// each item as the style draws it (indentation, text margins) and room for a scroll bar.
void CConfigDlg::FitTreeWidth() {
    auto* tree = m_ui->pageTree;
    const QFontMetrics metrics(tree->font());
    const int textMargins = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin) + 1);
    int widest = 0;
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        int depth = 1;
        for (const QTreeWidgetItem* up = (*it)->parent(); up != nullptr; up = up->parent()) {
            ++depth;
        }
        widest = std::max(widest, depth * tree->indentation() +
                                      metrics.horizontalAdvance((*it)->text(0)) + textMargins);
    }
    const int scrollBar = tree->style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    tree->setFixedWidth(widest + 2 * tree->frameWidth() + scrollBar);
}

void CConfigDlg::RestorePosition() {
    const int left = m_profile.GetInt("Window", "left", kAbsent);
    const int top = m_profile.GetInt("Window", "top", kAbsent);
    // A position off every screen (another monitor unplugged, an edited profile) is not used:
    // the window would be out of reach.
    if (left != kAbsent && top != kAbsent && QGuiApplication::screenAt({left, top}) != nullptr) {
        move(left, top);
    }
}

void CConfigDlg::SaveProfile() {
    m_profile.SetString("Interface", "PortName", m_connectionPage->PortName());
    m_profile.SetInt("Interface", "PortIndex", m_connectionPage->PortIndex());
    m_profile.SetInt("Interface", "BaudRateIndex", m_connectionPage->BaudIndex());
    m_profile.SetInt("Interface", "FlowControlIndex", m_connectionPage->FlowIndex());
    m_profile.SetInt("Window", "left", x());
    m_profile.SetInt("Window", "top", y());
}

// The close box writes the remembered choices; Escape (the dialog's reject) does not.
void CConfigDlg::closeEvent(QCloseEvent* event) {
    SaveProfile();
    QDialog::closeEvent(event);
}

void CConfigDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CConfigDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(Text(IDS_ABOUT), this, &CConfigDlg::OnAbout);
    menu.exec(event->globalPos());
}

void CConfigDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

void CConfigDlg::SetReplyWatch(std::chrono::milliseconds length) {
    m_replyWatch = length;
    if (m_printer) {
        m_printer->SetReplyWatch(length);
    }
}

CPage* CConfigDlg::Page(int id) const {
    const auto it = m_pages.find(id);
    return it == m_pages.end() ? nullptr : it->second;
}

CPage* CConfigDlg::CreatePage(int id) {
    switch (id) {
        case kPagePrinting:
            return new CPrintingPropertiesDlg(*this, m_ui->pageArea);
        case kPageFont:
            return new CFontPropertiesDlg(*this, m_ui->pageArea);
        case kPageBarcode:
            return new CBarcodePropertiesDlg(*this, m_ui->pageArea);
        case kPageTextPosition:
            return new CTextPosPropertiesDlg(*this, m_ui->pageArea);
        case kPageInfo:
            return new CPrinterInfoDlg(*this, m_ui->pageArea);
        case kPageOptions: {
            auto* options = new CPrinterOptionsDlg(*this, m_ui->pageArea);
            connect(options, &CPrinterOptionsDlg::RestoreFactory, this,
                    &CConfigDlg::OnRestoreFactory);
            connect(options, &CPrinterOptionsDlg::RestoreSaved, this, &CConfigDlg::OnRestoreSaved);
            return options;
        }
        case kPageEmpty:
            return new CEmptyDlg(*this, m_ui->pageArea);
        case kPagePort:
            return new CPrinterPortProperties(*this, m_ui->pageArea);
        default:
            return nullptr;
    }
}

bool CConfigDlg::ShowPage(int id) {
    m_currentPageId = 0;
    if (m_shownPage != nullptr) {
        m_shownPage->hide();
    }
    CPage* page = Page(id);
    if (page == nullptr) {
        m_shownPage = nullptr;
        page = CreatePage(id);
        if (page == nullptr) {
            return false;
        }
        m_pages[id] = page;
        page->hide();
        m_ui->pageLayout->addWidget(page);
    }
    m_shownPage = page;
    page->show();
    m_currentPageId = id;
    m_ui->pageTree->setFocus();
    return true;
}

void CConfigDlg::OnSelchangedTree() {
    auto* saveButton = m_ui->saveButton;
    saveButton->setText(Text(IDS_SAVE_SETTINGS));
    QTreeWidgetItem* item = m_ui->pageTree->currentItem();
    const int pageId = item != nullptr ? item->data(0, kPageIdRole).toInt() : 0;
    if (pageId == kPageConnection) {
        saveButton->hide();
        if (!m_suppressConnectionPage) {
            ShowPage(kPageConnection);
        }
        return;
    }
    if (!m_printer || !m_printer->IsConnected()) {
        saveButton->hide();
        ShowPage(kPageEmpty);
        return;
    }
    if (item == nullptr) {
        return;
    }
    if (pageId == kPageInfo) {
        if (ShowPage(kPageInfo)) {
            saveButton->setText(Text(IDS_REQUEST));
            saveButton->show();
        }
        return;
    }
    if (pageId == kPageOptions) {
        m_ui->pageTree->expandItem(item);
    }
    if (ShowPage(pageId)) {
        saveButton->show();
    }
}

// The window stays responsive during the wait before the first read; the controls that could
// cut in stay disabled until the read is answered.
void CConfigDlg::OnConnectButton() {
    m_connectionPage->ToggleConnection();
    if (m_printer && m_printer->IsConnected() && m_connectionState == ConnectionState::Connecting) {
        BeginSequence(Sequence::FirstRead);
        After(kFirstReadDelay, [this] { OnFirstReadDue(); });
    }
}

void CConfigDlg::OnFirstReadDue() {
    if (m_printer && m_printer->IsConnected()) {
        SendReadSettings(kPurposeConnect);
    } else {
        EndSequence();
    }
}

void CConfigDlg::OnSaveButton() {
    const Sequence running = m_exchange.Running();
    if (!m_printer || !m_printer->IsConnected() ||
        (running != Sequence::Idle && running != Sequence::Info)) {
        return;
    }
    if (m_ui->saveButton->text() == Text(IDS_REQUEST)) {
        BeginSequence(Sequence::Info);
        RequestInfo();
        return;
    }
    BeginSequence(Sequence::Save);
    SendReadSettings(kPurposeSave);
}

void CConfigDlg::BeginSequence(Sequence sequence) {
    m_exchange.Begin(sequence);
    ApplyControls();
}

void CConfigDlg::EndSequence() {
    m_step.stop();
    m_nextStep = nullptr;
    m_exchange.End();
    ApplyControls();
}

void CConfigDlg::After(std::chrono::milliseconds wait, std::function<void()> step) {
    m_nextStep = std::move(step);
    m_step.start(wait);
}

void CConfigDlg::ApplyControls() {
    const ExchangeControls controls = m_exchange.Controls();
    m_ui->connectButton->setEnabled(controls.connectButton);
    m_ui->saveButton->setEnabled(controls.saveButton);
    if (auto* options = static_cast<CPrinterOptionsDlg*>(Page(kPageOptions))) {
        options->SetRestoreButtonsEnabled(controls.restoreButtons);
    }
}

void CConfigDlg::SendReadSettings(int purpose) {
    m_exchange.Expect(CMD_READ_SETTINGS, purpose);
    if (!m_printer->SendCommand(CMD_READ_SETTINGS, nullptr, 0, true, PrinterSettings::kSize)) {
        ShowPrinterRefusal(m_notifier, *m_printer);
    }
}

void CConfigDlg::OnChannelMessage(std::uint64_t connection, ChannelMessage message,
                                  const std::vector<std::uint8_t>& bytes) {
    if (connection != m_connection) {
        return;  // from a connection that has been closed since
    }
    switch (message) {
        case WM_CHANNEL_REPLY:
            OnPrinterReply(bytes);
            break;
        case WM_CHANNEL_TIMEOUT:
        case WM_CHANNEL_STREAM_END:
            EndConnection(IDS_REPLY_TIMEOUT);
            break;
        case WM_CHANNEL_LINE_LOST:
            ShowLineLoss(m_notifier, m_printer->LastLineLoss());
            EndConnection(IDS_LINE_LOST);
            break;
        case WM_CHANNEL_CHUNK:
            break;
    }
}

void CConfigDlg::OnPrinterReply(const std::vector<std::uint8_t>& bytes) {
    if (m_exchange.LastCommand() == CMD_READ_SETTINGS) {
        OnSettingsReply(bytes);
    } else if (m_exchange.LastCommand() == CMD_GET_PRINTER_INFO) {
        OnInfoReply(bytes);
    }
}

void CConfigDlg::OnSettingsReply(const std::vector<std::uint8_t>& bytes) {
    if (bytes.size() != PrinterSettings::kSize) {
        EndSequence();
        DisconnectPrinter();
        OnSelchangedTree();
        Warn(IDS_BAD_REPLY);
        SetNotConnected();
        return;
    }
    m_connectionPage->SetConnectedTitle(true);
    ShowConnection(ConnectionState::Connected);
    m_settings = PrinterSettings::FromBytes(
        std::span<const std::uint8_t, PrinterSettings::kSize>(bytes.data(), bytes.size()));
    if (m_exchange.ReplyPurpose() == kPurposeSave) {
        EndSequence();
        StoreVisiblePage();
        return;
    }
    // After the first read and after a restore the page shown takes the printer's values, so
    // that a later save does not send back what the page showed before.
    EndSequence();
    ShowPageForConnectionState();
}

// A time-out and a lost line end the same way, each with its own sentence.
void CConfigDlg::EndConnection(int messageId) {
    const bool infoWasRunning = m_exchange.LastCommand() == CMD_GET_PRINTER_INFO;
    EndSequence();
    EnableTree();
    DisconnectPrinter();
    Warn(messageId);
    if (infoWasRunning) {
        if (auto* info = static_cast<CPrinterInfoDlg*>(Page(kPageInfo))) {
            info->ClearIfSingleLine();
        }
    }
    SetNotConnected();
    OnSelchangedTree();
}

void CConfigDlg::SetNotConnected() {
    SetConnection(ConnectionState::NotConnected, true);
    m_connectionPage->SetConnectedTitle(false);
    m_connectionPage->EnableConnectionControls(true);
}

// Every save compares the page with the printer's values of this moment, just read.
void CConfigDlg::StoreVisiblePage() {
    CPage* page = Page(m_currentPageId);
    if (page == nullptr || page->SaveGroup() < 0) {
        return;
    }
    int mask = page->Store(m_settings);
    const bool softwareFlow =
        UsesSoftwareFlow(m_connectionPage->Parameters().flowControl, m_settings);
    if (m_currentPageId == kPagePort) {
        if (mask != 0) {
            if (softwareFlow) {
                KeepFlowCharactersOut();
            }
            ChangePrinterPort();
        }
        return;
    }
    const auto changes = softwareFlow ? AvoidFlowCharacters(page->SaveGroup(), m_settings, mask)
                                      : std::vector<FlowCharacterChange>{};
    if (!m_printer->SaveOptions(m_settings, page->SaveGroup(), mask)) {
        ShowPrinterRefusal(m_notifier, *m_printer);
    }
    TellFlowCharacters(changes);
}

// Before the printer's port turns to software flow control, every value that would then stop
// its record from being read is changed, on the line that still carries it.
void CConfigDlg::KeepFlowCharactersOut() {
    std::vector<FlowCharacterChange> changes;
    for (int group = kGroupPrinterOptions; group < kGroupPrinterPort; ++group) {
        int mask = 0;
        const auto changed = AvoidFlowCharacters(group, m_settings, mask);
        if (mask != 0 && !m_printer->SaveOptions(m_settings, group, mask)) {
            ShowPrinterRefusal(m_notifier, *m_printer);
        }
        changes.insert(changes.end(), changed.begin(), changed.end());
    }
    TellFlowCharacters(changes);
}

void CConfigDlg::TellFlowCharacters(const std::vector<FlowCharacterChange>& changes) {
    if (!changes.empty()) {
        m_notifier.ShowMessage(FlowCharacterMessage(changes), "Velkor", MessageIcon::Exclamation);
    }
}

// The printer takes its new line at once: close, follow it on the connection page, reconnect,
// and only then make the printer keep the new settings.
void CConfigDlg::ChangePrinterPort() {
    BeginSequence(Sequence::PortChange);
    if (!m_printer->SaveOptions(m_settings, kGroupPrinterPort, 0x01)) {
        ShowPrinterRefusal(m_notifier, *m_printer);
    }
    const PortValues line = static_cast<CPrinterPortProperties*>(Page(kPagePort))->Values();
    After(kPortSettleDelay, [this, line] {
        DisconnectPrinter();
        m_connectionPage->SelectLine(line.baudIndex, line.framingIndex, line.flowIndex);
        After(kPortSettleDelay, [this] { ReconnectAfterPortChange(); });
    });
}

void CConfigDlg::ReconnectAfterPortChange() {
    const ConnectParameters parameters = m_connectionPage->Parameters();
    const bool connected =
        Printer().Connect(NewConnectionOwner(), parameters.portName, parameters.baudRate,
                          parameters.parity, parameters.flowControl, parameters.stopBits);
    ShowConnectNotices(m_notifier, *m_printer);
    if (!connected) {
        EndSequence();
        return;
    }
    After(kStoreAfterReconnectDelay, [this] {
        if (m_printer->IsConnected() &&
            !m_printer->SendCommand(CMD_STORE_SETTINGS, nullptr, 0, false, 0)) {
            ShowPrinterRefusal(m_notifier, *m_printer);
        }
        EndSequence();
    });
}

void CConfigDlg::RequestInfo() {
    auto* info = static_cast<CPrinterInfoDlg*>(Page(kPageInfo));
    info->SetText(ConfigString(IDS_ASKING_PRINTER));
    if (!m_printer) {
        return;
    }
    RequestInfoItem(1);
}

void CConfigDlg::RequestInfoItem(int item) {
    m_exchange.Expect(CMD_GET_PRINTER_INFO, kInfoItemStep + item);
    const auto parameter = static_cast<std::uint8_t>(item);
    const std::uint8_t terminator = InfoTerminator(item);
    if (!m_printer->SendCommandWithTerminator(CMD_GET_PRINTER_INFO, &parameter, 1,
                                              kReplyKindTerminator, &terminator, 1)) {
        ShowPrinterRefusal(m_notifier, *m_printer);
    }
}

void CConfigDlg::OnInfoReply(const std::vector<std::uint8_t>& bytes) {
    auto* info = static_cast<CPrinterInfoDlg*>(Page(kPageInfo));
    const int purpose = m_exchange.AdvanceReplyPurpose();
    const int item = purpose - kInfoItemStep - 1;
    if (item >= 1 && item < kInfoItems) {
        if (item == 1) {
            info->SetText("");  // the "asking the printer" line goes
        }
        info->Append(InfoItemLine(item, bytes));
        RequestInfoItem(item + 1);
    } else if (item == kInfoItems) {
        info->Append(InfoFontLine(bytes));
        m_exchange.Expect(CMD_GET_PRINTER_INFO, kInfoStateStep);
        const std::uint8_t statusRequest = 0;
        if (!m_printer->SendCommand(CMD_GET_STATUS, &statusRequest, 1, true, 1)) {
            ShowPrinterRefusal(m_notifier, *m_printer);
        }
    } else if (purpose == kInfoStateStep + 1 && !bytes.empty()) {
        info->Append(InfoStateBlock(bytes[0]));
        EndSequence();
        EnableTree();
        m_ui->pageTree->setFocus();
    }
}

// The printer returns to 115200 bit/s, 8N1, RTS/CTS: close, follow it, reconnect, read back.
void CConfigDlg::OnRestoreFactory() {
    if (!m_printer || m_exchange.Running() != Sequence::Idle) {
        return;
    }
    BeginSequence(Sequence::FactoryRestore);
    m_exchange.Expect(CMD_RESTORE_FACTORY, 0);
    if (!m_printer->SendCommand(CMD_RESTORE_FACTORY, nullptr, 0, false, 0)) {
        ShowPrinterRefusal(m_notifier, *m_printer);
    }
    After(kFactoryResetDelay, [this] {
        DisconnectPrinter();
        After(kFactoryResetDelay, [this] {
            m_connectionPage->SelectLine(kFactoryBaudIndex, kFactoryFramingIndex,
                                         kFactoryFlowIndex);
            ShowConnection(ConnectionState::NotConnected);
            m_connectionPage->ToggleConnection();
            ApplyControls();
            After(kFirstReadDelay, [this] { ReadBackAfterRestore(); });
        });
    });
}

void CConfigDlg::OnRestoreSaved() {
    if (!m_printer || m_exchange.Running() != Sequence::Idle) {
        return;
    }
    BeginSequence(Sequence::SavedRestore);
    m_exchange.Expect(CMD_RESTORE_SAVED, 0);
    if (!m_printer->SendCommand(CMD_RESTORE_SAVED, nullptr, 0, false, 0)) {
        ShowPrinterRefusal(m_notifier, *m_printer);
    }
    After(kSavedRestoreDelay, [this] { ReadBackAfterRestore(); });
}

// A reconnect that failed leaves the window not connected, every control given back.
void CConfigDlg::ReadBackAfterRestore() {
    if (!m_printer->IsConnected()) {
        EndSequence();
        DisconnectPrinter();
        SetNotConnected();
        ShowPageForConnectionState();
        return;
    }
    SendReadSettings(kPurposeRestore);
}

void CConfigDlg::Warn(int stringId) {
    m_notifier.ShowMessage(ConfigString(stringId), "Velkor", MessageIcon::Exclamation);
}

void CConfigDlg::SetConnection(ConnectionState state, bool enabled) {
    ShowConnection(state);
    m_ui->connectButton->setEnabled(enabled);
}

void CConfigDlg::ShowConnection(ConnectionState state) {
    m_connectionState = state;
    m_ui->connectButton->setText(Text(ConnectButtonLabel(state)));
}

CMiniPrinter& CConfigDlg::Printer() {
    if (!m_printer) {
        m_printer = std::make_unique<CMiniPrinter>(m_queues);
        m_printer->SetReplyWatch(m_replyWatch);
    }
    return *m_printer;
}

void CConfigDlg::DisconnectPrinter() {
    if (m_printer) {
        m_printer->Disconnect();
    }
    ++m_connection;
}

IChannelOwner* CConfigDlg::NewConnectionOwner() {
    ++m_connection;
    m_owners.push_back(std::make_unique<CQueuedChannelOwner>(
        this, m_connection,
        [this](std::uint64_t connection, ChannelMessage message,
               const std::vector<std::uint8_t>& bytes) {
            OnChannelMessage(connection, message, bytes);
        }));
    return m_owners.back().get();
}

// A request the user cut off will never be answered: give back what it disabled.
void CConfigDlg::OnUserDisconnect() {
    EndSequence();
}

void CConfigDlg::ShowPageForConnectionState() {
    m_suppressConnectionPage = true;
    OnSelchangedTree();
    m_suppressConnectionPage = false;
}

void CConfigDlg::EnableTree() {
    m_ui->pageTree->setEnabled(true);
}

void CConfigDlg::ShowWarning(const QString& text) {
    m_notifier.ShowMessage(text.toStdString(), "Velkor", MessageIcon::Exclamation);
}
