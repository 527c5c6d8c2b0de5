#include "CConfigDlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <QSignalBlocker>
#include <QTimer>
#include <utility>

#include "CAboutDlg.h"
#include "CConnectionDlg.h"
#include "CPrinterInfoDlg.h"
#include "CPrinterOptionsDlg.h"
#include "CReceiptPreview.h"
#include "CommandTable.h"
#include "ConfiguratorStrings.h"
#include "ConversationFailure.h"
#include "ExchangeControls.h"
#include "FlowCharacters.h"
#include "PageArea.h"
#include "PageFactory.h"
#include "PageTree.h"
#include "Resources.h"
#include "WindowTestPrint.h"
#include "ui_CConfigDlg.h"

namespace {

constexpr int kAbsent = -9999;

QString Text(int id) {
    return QString::fromUtf8(ConfigString(id));
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

// Where on the receipt a page's values show: the barcode page's on the barcode, the others'
// from the first block, which prints with the printer's own font and text position.
int PreviewCommandOf(int page) {
    return page == kPageBarcode ? CMD_PRINT_BARCODE : CMD_INITIALISE;
}

}  // namespace

CConfigDlg::CConfigDlg(IUserNotifier& notifier, IProfileStore& profile, IPrinterQueues& queues,
                       const std::vector<std::string>& extraPorts, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CConfigDlg>()),
      m_notifier(notifier),
      m_profile(profile),
      m_driver(notifier, queues),
      m_feeder([this] { return m_driver.Printer(); }) {
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
    FillPageTree(*m_ui->pageTree);
    OnConnectionState(ConnectionState::NotConnected);
    m_ui->saveButton->setText(Text(IDS_SAVE_SETTINGS));
    connect(m_ui->connectButton, &QPushButton::clicked, this, &CConfigDlg::OnConnectButton);
    m_ui->connectButton->installEventFilter(this);
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CConfigDlg::OnSaveButton);
    m_ui->testPrintButton->setText(Text(IDS_TEST_PRINT));
    connect(m_ui->testPrintButton, &QPushButton::clicked, this, &CConfigDlg::OnTestPrint);
    connect(&m_feeder, &CTestPrintFeeder::Finished, this, &CConfigDlg::OnTestPrintSent);
    m_preview = new CReceiptPreview(this);
    m_ui->windowLayout->addWidget(m_preview, 0, 2);
    m_previewTimer.setSingleShot(true);
    m_previewTimer.setInterval(0);
    connect(&m_previewTimer, &QTimer::timeout, this, &CConfigDlg::UpdatePreview);
    connect(m_ui->pageTree, &QTreeWidget::currentItemChanged, this, &CConfigDlg::OnSelchangedTree);
    connect(&m_driver, &CConversationDriver::StateChanged, this, &CConfigDlg::OnConnectionState);
    connect(&m_driver, &CConversationDriver::RunningChanged, this, &CConfigDlg::ApplyControls);
    connect(&m_driver, &CConversationDriver::Produced, this, &CConfigDlg::OnProduced);
    connect(&m_driver, &CConversationDriver::Ended, this, &CConfigDlg::OnEnded);

    m_connectionPage =
        new CConnectionDlg(*this, m_driver, notifier, queues, extraPorts, m_ui->pageStack);
    connect(m_connectionPage, &CConnectionDlg::SearchRunning, this, [this](bool running) {
        m_searching = running;
        ApplyControls();
    });
    m_connectionPage->LoadChoices(m_profile);
    if (!extraPorts.empty()) {
        // A device named on the command line is the one the user means to use.
        m_connectionPage->SelectPort(extraPorts.front());
    }
    AddPage(m_connectionPage);
    for (CPage* page : CreatePages(*this, m_ui->pageStack)) {
        AddPage(page);
    }
    FitPageAreaToScreen(*this, *m_ui->pageScroll, {m_preview, m_ui->testPrintButton});
    ShowPage(kPageConnection);
    UpdatePreview();
}

CConfigDlg::~CConfigDlg() {
    ShowBusy(false);
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

void CConfigDlg::AddPage(CPage* page) {
    m_ui->pageStack->addWidget(page);
    m_pages[page->Id()] = page;
    page->WatchControls();
    connect(page, &CPage::Edited, &m_previewTimer, qOverload<>(&QTimer::start));
    if (auto* options = qobject_cast<CPrinterOptionsDlg*>(page)) {
        connect(options, &CPrinterOptionsDlg::RestoreFactory, this, &CConfigDlg::OnRestoreFactory);
        connect(options, &CPrinterOptionsDlg::RestoreSaved, this, &CConfigDlg::OnRestoreSaved);
    }
}

void CConfigDlg::SaveProfile() {
    m_connectionPage->SaveChoices(m_profile);
    m_profile.SetInt("Window", "left", x());
    m_profile.SetInt("Window", "top", y());
}

// The close box writes the remembered choices; Escape (the dialog's reject) does not. Either
// first settles the edits of the page shown.
void CConfigDlg::closeEvent(QCloseEvent* event) {
    if (!SettleEdits(AfterSave::Close)) {
        event->ignore();
        return;
    }
    SaveProfile();
    QDialog::closeEvent(event);
}

void CConfigDlg::reject() {
    if (SettleEdits(AfterSave::Reject)) {
        QDialog::reject();
    }
}

// A double click on the connect button is one click: its second press would undo what the first
// did (disconnect, then connect again).
bool CConfigDlg::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (watched == m_ui->connectButton &&
        (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick)) {
        if (type == QEvent::MouseButtonDblClick ||
            (m_lastPress.isValid() &&
             m_lastPress.elapsed() < QApplication::doubleClickInterval())) {
            return true;
        }
        m_lastPress.start();
    }
    return QDialog::eventFilter(watched, event);
}

void CConfigDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

// The test print is here too: on a screen too small for the preview its button is hidden.
void CConfigDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(Text(IDS_TEST_PRINT), this, &CConfigDlg::OnTestPrint)
        ->setEnabled(m_ui->testPrintButton->isEnabled());
    menu.addAction(Text(IDS_ABOUT), this, &CConfigDlg::OnAbout);
    menu.exec(event->globalPos());
}

void CConfigDlg::OnAbout() {
    CAboutDlg about(this);
    about.exec();
}

CPage* CConfigDlg::Page(int id) const {
    const auto it = m_pages.find(id);
    return it == m_pages.end() ? nullptr : it->second;
}

// A page shown again takes the record again, as one that comes into view does.
bool CConfigDlg::ShowPage(int id) {
    CPage* page = Page(id);
    if (page == nullptr) {
        return false;
    }
    if (m_ui->pageStack->currentWidget() != page) {
        m_ui->pageStack->setCurrentWidget(page);
    } else if (page->isVisible()) {
        page->Reload();
    }
    m_currentPageId = id;
    m_ui->pageTree->setFocus();
    m_preview->ScrollToCommand(PreviewCommandOf(id));
    return true;
}

void CConfigDlg::OnSelchangedTree() {
    if (!m_suppressConnectionPage && !SettleEdits(AfterSave::ShowSelected)) {
        return;
    }
    auto* saveButton = m_ui->saveButton;
    saveButton->setText(Text(IDS_SAVE_SETTINGS));
    QTreeWidgetItem* item = m_ui->pageTree->currentItem();
    const int pageId = PageIdOf(item);
    if (pageId == kPageConnection) {
        saveButton->hide();
        if (!m_suppressConnectionPage) {
            ShowPage(kPageConnection);
        }
        return;
    }
    if (!m_driver.IsOpen()) {
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
    if (m_driver.State() == ConnectionState::Connected && !SettleEdits(AfterSave::Disconnect)) {
        return;
    }
    m_connectionPage->ToggleConnection();
}

bool CConfigDlg::Idle() const {
    const Conversation running = m_driver.Running();
    return m_driver.IsOpen() && !m_feeder.Running() &&
           (running == Conversation::Idle || running == Conversation::Info);
}

void CConfigDlg::OnSaveButton() {
    if (!Idle()) {
        return;
    }
    if (m_currentPageId == kPageInfo) {
        RequestInfo();
        return;
    }
    SaveShownPage();
}

// Edits on the page shown are saved, dropped or kept before the window leaves the page, closes
// or disconnects. True when the caller may go on now; after "Save" the save goes on with `then`
// once it is done.
bool CConfigDlg::SettleEdits(AfterSave then) {
    CPage* page = Page(m_currentPageId);
    if (page == nullptr || !Idle() || !page->HasEdits()) {
        return true;
    }
    const QTreeWidgetItem* item = ItemOfPage(*m_ui->pageTree, m_currentPageId);
    const QString question =
        Text(IDS_UNSAVED_EDITS).replace("%s", item != nullptr ? item->text(0) : QString());
    switch (m_notifier.Ask(question.toStdString(), "Velkor", Question::SaveDiscardCancel)) {
        case Answer::Discard:
            page->Reload();
            return true;
        case Answer::Save:
            m_afterSave = then;
            if (SaveShownPage()) {
                return false;
            }
            m_afterSave = AfterSave::Nothing;  // refused: the user stays on the page
            [[fallthrough]];
        default:
            if (then == AfterSave::ShowSelected) {
                ReturnTreeToShownPage();
            }
            return false;
    }
}

// Queued: a click on the tree selects its item after the tree has announced the change, and
// would otherwise leave that item marked under the page that stays.
void CConfigDlg::ReturnTreeToShownPage() {
    QTimer::singleShot(0, this, [this] {
        const QSignalBlocker quiet(m_ui->pageTree);
        m_ui->pageTree->setCurrentItem(ItemOfPage(*m_ui->pageTree, m_currentPageId));
    });
}

// The save stores the page shown now, even if the tree moves on while the record is read. A
// value its setting cannot take is not cut to fit: nothing goes to the printer.
bool CConfigDlg::SaveShownPage() {
    CPage* page = Page(m_currentPageId);
    if (CNumberField* refused = page != nullptr ? page->FirstRefusedField() : nullptr) {
        refused->PointOut();
        return false;
    }
    m_ui->statusLine->setText(Text(IDS_SAVING));
    m_driver.Save(
        [this, page](const PrinterSettings& current) { return ComposePage(page, current); });
    return true;
}

// Every save compares the page with the printer's values of this moment, just read.
SettingsWrite CConfigDlg::ComposePage(CPage* page, const PrinterSettings& current) {
    m_settings = current;
    SettingsWrite write;
    write.record = current;
    m_pageFlowChanges.clear();
    if (page != nullptr && page->SaveGroup() >= 0) {
        write.masks[static_cast<std::size_t>(page->SaveGroup())] = page->Store(write.record);
        if (UsesSoftwareFlow(m_driver.Line().flowControl, write.record)) {
            m_pageFlowChanges = page->FlowChanges();
        }
    }
    return write;
}

// Leaving, disconnecting or closing goes on only after a save that took; after one that failed
// the user sees why and decides again.
void CConfigDlg::GoOnAfterSave(bool saved) {
    const AfterSave then = std::exchange(m_afterSave, AfterSave::Nothing);
    if (!saved) {
        if (then == AfterSave::ShowSelected) {
            ReturnTreeToShownPage();
        }
        return;
    }
    switch (then) {
        case AfterSave::ShowSelected:
            ShowPageForConnectionState();
            break;
        case AfterSave::Disconnect:
            m_connectionPage->ToggleConnection();
            break;
        case AfterSave::Close:
            close();
            break;
        case AfterSave::Reject:
            reject();
            break;
        case AfterSave::TestPrint:
            StartTestPrint();
            break;
        case AfterSave::Nothing:
            break;
    }
}

void CConfigDlg::RequestInfo() {
    static_cast<CPrinterInfoDlg*>(Page(kPageInfo))->SetText(ConfigString(IDS_ASKING_PRINTER));
    m_infoAnswered = false;
    m_driver.RequestInfo();
}

// A test print holds the line as a save does: nothing may start under it or fill a page.
void CConfigDlg::ApplyControls() {
    const Conversation running = m_feeder.Running() ? Conversation::Save : m_driver.Running();
    const ExchangeControls controls = ControlsDuring(running);
    m_ui->connectButton->setEnabled(controls.connectButton && !m_searching);
    m_ui->saveButton->setEnabled(controls.saveButton);
    m_ui->testPrintButton->setEnabled(controls.saveButton && m_driver.IsOpen());
    m_ui->pageTree->setEnabled(controls.pages);
    m_ui->pageStack->setEnabled(controls.pages);
    ShowBusy(IsSave(running));
    if (auto* options = static_cast<CPrinterOptionsDlg*>(Page(kPageOptions))) {
        options->SetRestoreButtonsEnabled(controls.restoreButtons);
    }
}

// The busy cursor still lets the user disconnect a save that waits too long.
void CConfigDlg::ShowBusy(bool busy) {
    if (busy == std::exchange(m_busy, busy)) {
        return;
    }
    if (busy) {
        QApplication::setOverrideCursor(Qt::BusyCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void CConfigDlg::OnConnectionState(ConnectionState state) {
    m_ui->connectButton->setText(Text(ConnectButtonLabel(state)));
    if (state == ConnectionState::Connecting) {
        m_ui->statusLine->clear();  // a save's outcome belongs to the connection it ran on
    }
    if (state == ConnectionState::NotConnected) {
        ShowPageForConnectionState();
    }
    ApplyControls();
}

// A save fills the page it stored with what it wrote, before any message about the values it
// had to change.
void CConfigDlg::OnProduced(const ConversationStep& step) {
    if (step.settings) {
        m_settings = *step.settings;
        m_previewTimer.start();
        CPage* page = Page(m_currentPageId);
        if (IsSave(m_driver.Running()) && page != nullptr && page->isVisible()) {
            page->Reload();
        }
    }
    if (step.infoText) {
        auto* info = static_cast<CPrinterInfoDlg*>(Page(kPageInfo));
        if (!std::exchange(m_infoAnswered, true)) {
            info->SetText("");
        }
        info->Append(*step.infoText);
    }
    // The page's own moves and the save's go into one message.
    std::vector<FlowCharacterChange> changes = std::exchange(m_pageFlowChanges, {});
    changes.insert(changes.end(), step.flowChanges.begin(), step.flowChanges.end());
    if (!changes.empty()) {
        m_notifier.ShowMessage(FlowCharacterMessage(changes), "Velkor", MessageIcon::Exclamation);
    }
}

// After the first read and after a restore the page shown takes the printer's values, so that a
// later save does not send back what the page showed before. A time-out and a lost line end the
// connection, each with its own sentence.
void CConfigDlg::OnEnded(Conversation conversation, ConversationEnd end) {
    const bool save = IsSave(conversation);
    if (save) {
        m_ui->statusLine->setText(Text(end == ConversationEnd::Done ? IDS_SAVED : IDS_NOT_SAVED));
    }
    switch (end) {
        case ConversationEnd::Done:
            if (conversation == Conversation::Info) {
                m_ui->pageTree->setFocus();
            } else if (conversation != Conversation::Save &&
                       conversation != Conversation::PortChange) {
                ShowPageForConnectionState();
            }
            break;
        case ConversationEnd::BadReply:
            Warn(IDS_BAD_REPLY);
            break;
        case ConversationEnd::Timeout:
        case ConversationEnd::LineLost:
            Warn(ConversationFailureText(conversation, end, m_driver.LastSaveReach()));
            if (conversation == Conversation::Info) {
                static_cast<CPrinterInfoDlg*>(Page(kPageInfo))->ClearIfSingleLine();
            }
            break;
        case ConversationEnd::NotReopened:
            break;
    }
    if (save) {
        GoOnAfterSave(end == ConversationEnd::Done);
    }
}

// One stray click must not wipe a customer's setup: the restore asks first, "No" by default.
void CConfigDlg::OnRestoreFactory() {
    if (m_driver.IsOpen() && m_driver.Running() == Conversation::Idle &&
        m_notifier.Ask(ConfigString(IDS_CONFIRM_FACTORY), "Velkor", Question::YesNo) ==
            Answer::Yes) {
        m_driver.RestoreFactory();
    }
}

void CConfigDlg::OnRestoreSaved() {
    if (m_driver.IsOpen() && m_driver.Running() == Conversation::Idle) {
        m_driver.RestoreSaved();
    }
}

void CConfigDlg::Warn(int stringId) {
    Warn(ConfigString(stringId));
}

void CConfigDlg::Warn(const std::string& text) {
    m_notifier.ShowMessage(text, "Velkor", MessageIcon::Exclamation);
}

void CConfigDlg::ShowPageForConnectionState() {
    m_suppressConnectionPage = true;
    OnSelchangedTree();
    m_suppressConnectionPage = false;
}

// The preview shows the printer's record with what the pages hold and have not saved; a page
// whose number a save would refuse keeps the record's values until it is corrected.
void CConfigDlg::UpdatePreview() {
    PrinterSettings record = m_settings;
    for (const auto& [id, page] : m_pages) {
        if (page->HasEdits() && page->FirstRefusedField() == nullptr) {
            page->Store(record);
        }
    }
    m_preview->Show(record);
}

// The printer prints with what it holds, so the edits of the page shown are settled first.
void CConfigDlg::OnTestPrint() {
    if (Idle() && SettleEdits(AfterSave::TestPrint)) {
        StartTestPrint();
    }
}

void CConfigDlg::StartTestPrint() {
    m_ui->statusLine->setText(Text(IDS_TEST_PRINTING));
    m_feeder.Start(WindowTestPrint(m_settings), m_driver.Line().baudRate);
    ApplyControls();
}

void CConfigDlg::OnTestPrintSent(bool sent) {
    m_ui->statusLine->setText(Text(sent ? IDS_TEST_PRINT_SENT : IDS_TEST_PRINT_NOT_SENT));
    ApplyControls();
}
