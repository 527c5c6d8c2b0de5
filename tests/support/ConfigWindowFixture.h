#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "CConfigDlg.h"
#include "CConnectionDlg.h"
#include "CPrinterSim.h"
#include "ConfiguratorStrings.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using Message = RecordingNotifier::Message;

inline const Bytes kReadRequest{0x12, 0x63, 0x4C, 0x63};

inline QString Text(int id) {
    return QString::fromUtf8(ConfigString(id));
}

// The configurator's main window as a user drives it, against the simulator on a
// pseudo-terminal; profiles go to a temporary folder and messages are recorded.
class ConfigWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(sim.Start());
        profile = CQtProfileStore::AtFile(folder.filePath("Velkor.ini"));
        Open();
    }

    void Open() {
        std::vector<std::string> ports = extraPorts;
        if (simulatorOnCommandLine) {
            ports.push_back(sim.DevicePath());
        }
        window = std::make_unique<CConfigDlg>(notifier, *profile, queues, ports);
        window->SetReplyWatch(300ms);
        window->show();
    }

    template <typename T>
    T* Find(QObject* parent, const char* name) {
        return parent->findChild<T*>(name);
    }
    QPushButton* ConnectButton() { return Find<QPushButton>(window.get(), "connectButton"); }
    QPushButton* SaveButton() { return Find<QPushButton>(window.get(), "saveButton"); }
    QComboBox* ConnectionCombo(const char* name) {
        return Find<QComboBox>(window->ConnectionPage(), name);
    }

    void ChooseSimulator(int baudIndex = 0, int flowIndex = 1) {
        ConnectionCombo("portCombo")->setEditText(QString::fromStdString(sim.DevicePath()));
        ConnectionCombo("baudCombo")->setCurrentIndex(baudIndex);
        ConnectionCombo("flowCombo")->setCurrentIndex(flowIndex);
    }

    void Select(int stringId) {
        auto* tree = Find<QTreeWidget>(window.get(), "pageTree");
        const auto items = tree->findItems(Text(stringId), Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(items.size(), 1);
        tree->setCurrentItem(items[0]);
    }

    bool Connect(int baudIndex = 0, int flowIndex = 1) {
        ChooseSimulator(baudIndex, flowIndex);
        ConnectButton()->click();
        return QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); },
                               5000);
    }

    // Waits with the window's events running: the window's own timers drive the requests.
    bool WaitForCommands(std::size_t count, int milliseconds) {
        return QTest::qWaitFor([&] { return sim.Commands().size() >= count; }, milliseconds);
    }

    void ExpectNotConnected() {
        EXPECT_EQ(ConnectButton()->text(), Text(IDS_CONNECT));
        EXPECT_TRUE(ConnectButton()->isEnabled());
        EXPECT_TRUE(ConnectionCombo("portCombo")->isEnabled());
        EXPECT_EQ(Find<QGroupBox>(window->ConnectionPage(), "groupBox")->title(),
                  Text(IDS_CONNECTION));
        EXPECT_FALSE(window->PrinterObject() != nullptr && window->PrinterObject()->IsConnected());
    }

    QTemporaryDir folder;
    CPrinterSim sim;
    RecordingNotifier notifier;
    CNoPrinterQueues queues;
    std::unique_ptr<CQtProfileStore> profile;
    std::unique_ptr<CConfigDlg> window;
    // Offered in the port list beside the simulator.
    std::vector<std::string> extraPorts;
    // A port named on the command line is chosen over the remembered one.
    bool simulatorOnCommandLine = true;
};
