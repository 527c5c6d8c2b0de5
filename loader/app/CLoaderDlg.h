#pragma once

#include <QDialog>
#include <chrono>
#include <memory>

#include "CAsyncFileRead.h"
#include "CLoadData.h"
#include "CLoadLink.h"
#include "CPortQueueHold.h"
#include "CQueuedLoadOwner.h"
#include "ProfileStore.h"
#include "UserNotifier.h"

namespace Ui {
class CLoaderDlg;
}

// The loader's window: port and speed, the data file, the load button and a progress bar
// with the status text. Every way a load ends is shown in one message box.
class CLoaderDlg final : public QDialog {
    Q_OBJECT

public:
    CLoaderDlg(IUserNotifier& notifier, IProfileStore& profile, QWidget* parent = nullptr);
    ~CLoaderDlg() override;

    bool IsLoading() const { return m_link != nullptr; }
    // How long the printer may stay silent; the printer's own limit unless a test says otherwise.
    void SetReplyWatch(std::chrono::milliseconds length) { m_replyWatch = length; }
    // The system's printer queues: those on the port are held off it while a load runs.
    void SetPrinterQueues(IPrinterQueues* queues) { m_queues = queues; }

public slots:
    void OnBrowse();
    void OnLoad();
    void OnStop();
    void OnAbout();
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FillLists();
    void FitToScreen();
    void KeepOnScreen();
    void LoadSettings();
    void SaveSettings();
    void OnFileRead(DataFileResult read);
    void StartLoad(DataFile file);
    void SetControlsEnabled(bool enabled);
    void ShowStatus();
    void ShowProgress();
    void OnLoadMessage(std::uint64_t load, LoadMessage message);
    void OnRecordTaken(std::uint64_t load);
    void EndLoad();
    void Report(const std::string& text, MessageIcon icon);

    std::unique_ptr<Ui::CLoaderDlg> m_ui;
    IUserNotifier& m_notifier;
    IProfileStore& m_profile;
    CAsyncFileRead m_fileRead;
    std::unique_ptr<CLoadData> m_data;
    std::string m_model;
    std::unique_ptr<CQueuedLoadOwner> m_owner;
    IPrinterQueues* m_queues = nullptr;
    std::unique_ptr<CPortQueueHold> m_queueHold;
    std::unique_ptr<CLoadLink> m_link;
    std::uint64_t m_loadSerial = 0;
    std::chrono::milliseconds m_replyWatch = kLoadReplyWatch;
};
