#pragma once

#include <QDialog>
#include <QTimer>
#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <vector>

#include "CExchangeSequence.h"
#include "CMiniPrinter.h"
#include "CPage.h"
#include "CQueuedChannelOwner.h"
#include "ConnectionHost.h"
#include "FlowCharacters.h"
#include "PageHost.h"
#include "PrinterQueues.h"
#include "ProfileStore.h"
#include "UserNotifier.h"

class CConnectionDlg;
class QTreeWidgetItem;

namespace Ui {
class CConfigDlg;
}

// The configurator's main window: the tree of pages, the page area, the connect and save
// buttons, and the conversation that reads and writes the printer's settings.
class CConfigDlg final : public QDialog, public IPageHost, private IConnectionHost {
    Q_OBJECT

public:
    CConfigDlg(IUserNotifier& notifier, IProfileStore& profile, IPrinterQueues& queues,
               const std::vector<std::string>& extraPorts = {}, QWidget* parent = nullptr);
    ~CConfigDlg() override;

    const PrinterSettings& Settings() const override { return m_settings; }
    CMiniPrinter* PrinterObject() const { return m_printer.get(); }
    CConnectionDlg* ConnectionPage() const { return m_connectionPage; }
    CPage* Page(int id) const;
    int CurrentPageId() const { return m_currentPageId; }
    // How long the printer may keep a reply waiting; the printer's own limit unless a test
    // says otherwise.
    void SetReplyWatch(std::chrono::milliseconds length);

public slots:
    void OnConnectButton();
    void OnSaveButton();
    void OnSelchangedTree();
    void OnAbout();
    void OnRestoreFactory();
    void OnRestoreSaved();

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnFirstReadDue();
    void FillTree();
    void FitTreeWidth();
    void RestorePosition();
    void SaveProfile();
    bool ShowPage(int id);
    CPage* CreatePage(int id);
    void SendReadSettings(int purpose);
    void OnChannelMessage(std::uint64_t connection, ChannelMessage message,
                          const std::vector<std::uint8_t>& bytes);
    void OnPrinterReply(const std::vector<std::uint8_t>& bytes);
    void OnSettingsReply(const std::vector<std::uint8_t>& bytes);
    void EndConnection(int messageId);
    void StoreVisiblePage();
    void KeepFlowCharactersOut();
    void TellFlowCharacters(const std::vector<FlowCharacterChange>& changes);
    void ChangePrinterPort();
    void SetNotConnected();
    void RequestInfo();
    void RequestInfoItem(int item);
    void OnInfoReply(const std::vector<std::uint8_t>& bytes);
    void BeginSequence(Sequence sequence);
    void EndSequence();
    // Runs the next step of a sequence after a pause, unless the sequence ends first.
    void After(std::chrono::milliseconds wait, std::function<void()> step);
    void ApplyControls();
    void ReconnectAfterPortChange();
    void ReadBackAfterRestore();
    void Warn(int stringId);

    // IConnectionHost
    ConnectionState Connection() const override { return m_connectionState; }
    void SetConnection(ConnectionState state, bool enabled) override;
    // The same, leaving the button enabled or not as it is.
    void ShowConnection(ConnectionState state);
    CMiniPrinter& Printer() override;
    void DisconnectPrinter() override;
    IChannelOwner* NewConnectionOwner() override;
    void OnUserDisconnect() override;
    void ShowPageForConnectionState() override;
    void EnableTree() override;
    void ShowWarning(const QString& text) override;
    IUserNotifier& Notifier() override { return m_notifier; }

    std::unique_ptr<Ui::CConfigDlg> m_ui;
    IUserNotifier& m_notifier;
    IProfileStore& m_profile;
    IPrinterQueues& m_queues;
    std::vector<std::unique_ptr<CQueuedChannelOwner>> m_owners;
    std::uint64_t m_connection = 0;
    ConnectionState m_connectionState = ConnectionState::NotConnected;
    std::unique_ptr<CMiniPrinter> m_printer;
    std::chrono::milliseconds m_replyWatch = kReplyWatch;
    CConnectionDlg* m_connectionPage = nullptr;
    std::map<int, CPage*> m_pages;
    CPage* m_shownPage = nullptr;
    QTimer m_step;
    std::function<void()> m_nextStep;
    CExchangeSequence m_exchange;
    bool m_suppressConnectionPage = false;
    int m_currentPageId = 0;
    PrinterSettings m_settings{};
};
