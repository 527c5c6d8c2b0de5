#include "CConfigDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>
#include <utility>

#include "CAboutDlg.h"
#include "CConnectionDlg.h"
#include "CPrinterInfoDlg.h"
#include "CPrinterOptionsDlg.h"
#include "ConfiguratorStrings.h"
#include "ExchangeControls.h"
#include "FlowCharacters.h"
#include "PageFactory.h"
#include "PageTree.h"
#include "Resources.h"
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

}  // namespace

CConfigDlg::CConfigDlg(IUserNotifier& notifier, IProfileStore& profile, IPrinterQueues& queues,
                       const std::vector<std::string>& extraPorts, QWidget* parent)
    : QDialog(parent),
      m_ui(std::make_unique<Ui::CConfigDlg>()),
      m_notifier(notifier),
      m_profile(profile),
      m_driver(notifier, queues) {
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
    connect(m_ui->saveButton, &QPushButton::clicked, this, &CConfigDlg::OnSaveButton);
    connect(m_ui->pageTree, &QTreeWidget::currentItemChanged, this, &CConfigDlg::OnSelchangedTree);
    connect(&m_driver, &CConversationDriver::StateChanged, this, &CConfigDlg::OnConnectionState);
    connect(&m_driver, &CConversationDriver::RunningChanged, this, &CConfigDlg::ApplyControls);
    connect(&m_driver, &CConversationDriver::Produced, this, &CConfigDlg::OnProduced);
    connect(&m_driver, &CConversationDriver::Ended, this, &CConfigDlg::OnEnded);

    m_connectionPage =
        new CConnectionDlg(*this, m_driver, notifier, queues, extraPorts, m_ui->pageArea);
    connect(m_connectionPage, &CConnectionDlg::SearchRunning, this, [this](bool running) {
        m_searching = running;
        ApplyControls();
    });
    m_connectionPage->hide();
    m_ui->pageLayout->addWidget(m_connectionPage);
    m_connectionPage->LoadChoices(m_profile);
    if (!extraPorts.empty()) {
        // A device named on the command line is the one the user means to use.
        m_connectionPage->SelectPort(extraPorts.front());
    }
    m_pages[kPageConnection] = m_connectionPage;
    ShowPage(kPageConnection);
}

CConfigDlg::~CConfigDlg() = default;

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
    m_connectionPage->SaveChoices(m_profile);
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

CPage* CConfigDlg::Page(int id) const {
    const auto it = m_pages.find(id);
    return it == m_pages.end() ? nullptr : it->second;
}

bool CConfigDlg::ShowPage(int id) {
    m_currentPageId = 0;
    if (m_shownPage != nullptr) {
        m_shownPage->hide();
    }
    CPage* page = Page(id);
    if (page == nullptr) {
        m_shownPage = nullptr;
        page = CreatePage(id, *this, m_ui->pageArea);
        if (page == nullptr) {
            return false;
        }
        if (auto* options = qobject_cast<CPrinterOptionsDlg*>(page)) {
            connect(options, &CPrinterOptionsDlg::RestoreFactory, this,
                    &CConfigDlg::OnRestoreFactory);
            connect(options, &CPrinterOptionsDlg::RestoreSaved, this, &CConfigDlg::OnRestoreSaved);
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
    m_connectionPage->ToggleConnection();
}

void CConfigDlg::OnSaveButton() {
    const Conversation running = m_driver.Running();
    if (!m_driver.IsOpen() || (running != Conversation::Idle && running != Conversation::Info)) {
        return;
    }
    if (m_currentPageId == kPageInfo) {
        RequestInfo();
        return;
    }
    // A value its setting cannot take is not cut to fit: nothing goes to the printer.
    const CPage* page = Page(m_currentPageId);
    if (CNumberField* refused = page != nullptr ? page->FirstRefusedField() : nullptr) {
        refused->PointOut();
        return;
    }
    m_driver.Save([this](const PrinterSettings& current) { return ComposeVisiblePage(current); });
}

// Every save compares the page with the printer's values of this moment, just read.
SettingsWrite CConfigDlg::ComposeVisiblePage(const PrinterSettings& current) {
    m_settings = current;
    SettingsWrite write;
    write.record = current;
    CPage* page = Page(m_currentPageId);
    if (page != nullptr && page->SaveGroup() >= 0) {
        write.masks[static_cast<std::size_t>(page->SaveGroup())] = page->Store(write.record);
    }
    return write;
}

void CConfigDlg::RequestInfo() {
    static_cast<CPrinterInfoDlg*>(Page(kPageInfo))->SetText(ConfigString(IDS_ASKING_PRINTER));
    m_infoAnswered = false;
    m_driver.RequestInfo();
}

void CConfigDlg::ApplyControls() {
    const ExchangeControls controls = ControlsDuring(m_driver.Running());
    m_ui->connectButton->setEnabled(controls.connectButton && !m_searching);
    m_ui->saveButton->setEnabled(controls.saveButton);
    if (auto* options = static_cast<CPrinterOptionsDlg*>(Page(kPageOptions))) {
        options->SetRestoreButtonsEnabled(controls.restoreButtons);
    }
}

void CConfigDlg::OnConnectionState(ConnectionState state) {
    m_ui->connectButton->setText(Text(ConnectButtonLabel(state)));
    if (state == ConnectionState::NotConnected) {
        m_ui->pageTree->setEnabled(true);
        ShowPageForConnectionState();
    }
}

void CConfigDlg::OnProduced(const ConversationStep& step) {
    if (step.settings) {
        m_settings = *step.settings;
    }
    if (step.infoText) {
        auto* info = static_cast<CPrinterInfoDlg*>(Page(kPageInfo));
        if (!std::exchange(m_infoAnswered, true)) {
            info->SetText("");
        }
        info->Append(*step.infoText);
    }
    if (!step.flowChanges.empty()) {
        m_notifier.ShowMessage(FlowCharacterMessage(step.flowChanges), "Velkor",
                               MessageIcon::Exclamation);
    }
}

// After the first read and after a restore the page shown takes the printer's values, so that a
// later save does not send back what the page showed before. A time-out and a lost line end the
// connection, each with its own sentence.
void CConfigDlg::OnEnded(Conversation conversation, ConversationEnd end) {
    switch (end) {
        case ConversationEnd::Done:
            if (conversation == Conversation::Info) {
                m_ui->pageTree->setEnabled(true);
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
            Warn(end == ConversationEnd::Timeout ? IDS_REPLY_TIMEOUT : IDS_LINE_LOST);
            if (conversation == Conversation::Info) {
                static_cast<CPrinterInfoDlg*>(Page(kPageInfo))->ClearIfSingleLine();
            }
            break;
        case ConversationEnd::NotReopened:
            break;
    }
}

void CConfigDlg::OnRestoreFactory() {
    if (m_driver.IsOpen() && m_driver.Running() == Conversation::Idle) {
        m_driver.RestoreFactory();
    }
}

void CConfigDlg::OnRestoreSaved() {
    if (m_driver.IsOpen() && m_driver.Running() == Conversation::Idle) {
        m_driver.RestoreSaved();
    }
}

void CConfigDlg::Warn(int stringId) {
    m_notifier.ShowMessage(ConfigString(stringId), "Velkor", MessageIcon::Exclamation);
}

void CConfigDlg::ShowPageForConnectionState() {
    m_suppressConnectionPage = true;
    OnSelchangedTree();
    m_suppressConnectionPage = false;
}
