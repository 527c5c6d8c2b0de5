#pragma once

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

#include "CConversationDriver.h"
#include "CPage.h"
#include "CTestPrintFeeder.h"
#include "FactorySettings.h"
#include "PageHost.h"
#include "PrinterQueues.h"
#include "ProfileStore.h"
#include "UserNotifier.h"

class CConnectionDlg;
class CReceiptPreview;
class QTreeWidgetItem;

namespace Ui {
class CConfigDlg;
}

// The configurator's main window: the tree of pages, the page area, the connect and save
// buttons; it starts the settings conversations and shows what comes of them.
class CConfigDlg final : public QDialog, public IPageHost {
    Q_OBJECT

public:
    CConfigDlg(IUserNotifier& notifier, IProfileStore& profile, IPrinterQueues& queues,
               const std::vector<std::string>& extraPorts = {}, QWidget* parent = nullptr);
    ~CConfigDlg() override;

    const PrinterSettings& Settings() const override { return m_settings; }
    CMiniPrinter* PrinterObject() const { return m_driver.Printer(); }
    CConnectionDlg* ConnectionPage() const { return m_connectionPage; }
    CPage* Page(int id) const;
    CReceiptPreview* Preview() const { return m_preview; }
    int CurrentPageId() const { return m_currentPageId; }
    // How long the printer may keep a reply waiting; the printer's own limit unless a test
    // says otherwise.
    void SetReplyWatch(std::chrono::milliseconds length) { m_driver.SetReplyWatch(length); }

public slots:
    void OnConnectButton();
    void OnSaveButton();
    void OnSelchangedTree();
    void OnAbout();
    void OnRestoreFactory();
    void OnRestoreSaved();
    void OnTestPrint();

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // What waits for the shown page's edits to be saved, and goes on once they are.
    enum class AfterSave { Nothing, ShowSelected, Disconnect, Close, Reject, TestPrint };

    void RestorePosition();
    void AddPage(CPage* page);
    // Connected, with nothing running that a save or a question could cut into.
    bool Idle() const;
    void SaveProfile();
    bool ShowPage(int id);
    void ShowPageForConnectionState();
    void ApplyControls();
    void RequestInfo();
    bool SettleEdits(AfterSave then);
    void ReturnTreeToShownPage();
    bool SaveShownPage();
    SettingsWrite ComposePage(CPage* page, const PrinterSettings& current);
    void GoOnAfterSave(bool saved);
    void ShowBusy(bool busy);
    void UpdatePreview();
    void StartTestPrint();
    void OnTestPrintSent(bool sent);
    void OnConnectionState(ConnectionState state);
    void OnProduced(const ConversationStep& step);
    void OnEnded(Conversation conversation, ConversationEnd end);
    void Warn(int stringId);
    void Warn(const std::string& text);

    std::unique_ptr<Ui::CConfigDlg> m_ui;
    IUserNotifier& m_notifier;
    IProfileStore& m_profile;
    CConversationDriver m_driver;
    CConnectionDlg* m_connectionPage = nullptr;
    std::map<int, CPage*> m_pages;
    bool m_suppressConnectionPage = false;
    bool m_searching = false;
    // The information page's "asking the printer" line goes with the first piece of the answer.
    bool m_infoAnswered = false;
    int m_currentPageId = 0;
    // The printer's record as last read; the factory's until then.
    PrinterSettings m_settings = kFactorySettings;
    AfterSave m_afterSave = AfterSave::Nothing;
    // What the saved page's own rule moved off 17 and 19 on a line with software flow control.
    std::vector<FlowCharacterChange> m_pageFlowChanges;
    bool m_busy = false;
    // The connect button's last press that counted.
    QElapsedTimer m_lastPress;
    CReceiptPreview* m_preview = nullptr;
    // Every edit asks for a new preview; one drawing serves all the edits of one event.
    QTimer m_previewTimer;
    CTestPrintFeeder m_feeder;
};
