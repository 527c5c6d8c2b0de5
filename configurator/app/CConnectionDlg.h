#pragma once

#include <memory>
#include <string>
#include <vector>

#include "CConversationDriver.h"
#include "CPage.h"
#include "ConnectParameters.h"
#include "PrinterQueues.h"
#include "ProfileStore.h"
#include "SerialLineSettings.h"

class CLineSearch;

namespace Ui {
class CConnectionDlg;
}

// The connection page: the port and line parameters, remembered between runs, and the toggle
// behind the main window's connect button. It follows the driver's connection state and the
// lines the driver reopens at.
class CConnectionDlg final : public CPage {
    Q_OBJECT

public:
    // Ports come from the printer queues that print to serial ports and from the system's serial
    // devices; extraPorts (for example a simulator's pseudo-terminal) are offered as well.
    CConnectionDlg(IPageHost& host, CConversationDriver& driver, IUserNotifier& notifier,
                   IPrinterQueues& queues, const std::vector<std::string>& extraPorts,
                   QWidget* parent);
    ~CConnectionDlg() override;

    int Id() const override { return kPageConnection; }

    // The choices remembered in the profile; the factory line where none are.
    void LoadChoices(IProfileStore& profile);
    void SaveChoices(IProfileStore& profile) const;
    void SelectPort(const std::string& port);
    // The port as chosen or typed.
    std::string PortName() const;
    const std::vector<std::string>& PortList() const { return m_portList; }

    ConnectParameters Parameters() const;
    void ToggleConnection();
    // After the printer's own port changed: the connection follows it.
    void SelectLine(int baudIndex, int framingIndex, int flowIndex);

signals:
    // While the search runs, the port is the search's: the window may not connect.
    void SearchRunning(bool running);

private:
    void OnConnectionState(ConnectionState state);
    void EnableConnectionControls(bool enable);
    void SetConnectedTitle(bool connected);
    void Warn(const QString& text);
    void Connect();
    void Disconnect();
    // "Найти принтер": tries every line on the chosen port and selects the one that answers;
    // pressed again while searching, it stops the search.
    void FindPrinter();
    void OnSearchProgress(int index, int count, const SerialLineRequest& trying);
    void OnSearchFinished();
    void ShowSearching(bool searching);
    QString LineText(const SerialLineRequest& line) const;

    std::unique_ptr<Ui::CConnectionDlg> m_ui;
    CConversationDriver& m_driver;
    IUserNotifier& m_notifier;
    std::vector<std::string> m_portList;
    std::unique_ptr<CLineSearch> m_search;
};
