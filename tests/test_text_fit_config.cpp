// Every text of the configurator fits its widget: run once at scale 1 and once with
// QT_SCALE_FACTOR=1.5, with the system's default font.
#include <QAbstractItemView>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QToolTip>
#include <QTreeWidgetItemIterator>

#include "CAboutDlg.h"
#include "CElidingLineEdit.h"
#include "ConfigWindowFixture.h"
#include "InterfaceLanguage.h"
#include "PortCombo.h"
#include "TextFit.h"

namespace {

// A USB adapter's stable name, as long as device paths get.
const std::string kLongPort = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

class ConfiguratorTextFit : public ConfigWindowTest {
protected:
    void SetUp() override {
        // The run's environment chooses the language, as for a user.
        UseInterfaceLanguage(QLocale::system());
        extraPorts = {kLongPort};
        ConfigWindowTest::SetUp();
    }

    void ExpectEveryPageFits(const QString& state) {
        auto* tree = Find<QTreeWidget>(window.get(), "pageTree");
        for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
            tree->setCurrentItem(*it);
            ExpectAllFit(window.get(), state + ", " + (*it)->text(0));
        }
    }
};

TEST_F(ConfiguratorTextFit, EveryConfiguratorPageAndState) {
    ExpectAllFit(window.get(), "start");
    ExpectEveryPageFits("not connected");
    ChooseSimulator();
    ConnectButton()->click();
    ExpectAllFit(window.get(), "connecting");
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ConnectButton()->text() == Text(IDS_DISCONNECT); }, 5000));
    ExpectEveryPageFits("connected");
    // The status line after a save.
    Select(IDS_PRINTING);
    SaveButton()->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return SaveButton()->isEnabled(); }, 5000));
    ExpectAllFit(window.get(), "saved");
    Select(IDS_SERVICE_INFO);
    SaveButton()->click();
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return sim.Commands().size() >= 11 && window->isEnabled(); }, 5000));
    ExpectAllFit(window.get(), "information");
    // The connect button's own text tells it to disconnect, in either language.
    ConnectButton()->click();
    EXPECT_EQ(ConnectButton()->text(), Text(IDS_CONNECT));
    EXPECT_FALSE(window->PrinterObject()->IsConnected());
    ExpectAllFit(window.get(), "disconnected");
}

TEST_F(ConfiguratorTextFit, LongPortPathIsShownWhole) {
    ConnectionCombo("portCombo")->setCurrentText(QString::fromStdString(kLongPort));
    ExpectAllFit(window.get(), "long port");
    EXPECT_EQ(ConnectionCombo("portCombo")->toolTip(), QString::fromStdString(kLongPort));
    ConnectButton()->setFocus();
    auto* field = dynamic_cast<CElidingLineEdit*>(ConnectionCombo("portCombo")->lineEdit());
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->ShownText(), QString::fromStdString(kLongPort));
}

// Wider than half of any screen: the box stops growing and elides the path in the middle, where
// an adapter's serial number is least needed; the path itself stays whole.
TEST_F(ConfiguratorTextFit, PortPathWiderThanTheScreenAllowsIsElidedInTheMiddle) {
    const QString path = "/dev/serial/by-id/usb-" + QString(300, 'x') + "-if00-port0";
    QComboBox* box = ConnectionCombo("portCombo");
    box->setEditText(path);
    ConnectButton()->setFocus();
    QTest::qWait(0);
    auto* field = dynamic_cast<CElidingLineEdit*>(box->lineEdit());
    ASSERT_NE(field, nullptr);
    const QString shown = field->ShownText();
    EXPECT_TRUE(shown.startsWith("/dev/serial/by-id/usb-xxx")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("xxx-if00-port0")) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QChar(0x2026)));
    EXPECT_LE(box->width(), PortComboWidthLimit(box));
    EXPECT_LE(field->fontMetrics().horizontalAdvance(shown), field->width());
    EXPECT_EQ(box->view()->textElideMode(), Qt::ElideMiddle);
    EXPECT_EQ(box->toolTip(), path);
    EXPECT_EQ(window->ConnectionPage()->PortName(), path.toStdString());
    // Being edited, the field holds the path as it is.
    field->setFocus();
    EXPECT_EQ(field->ShownText(), path);
}

// A refused number: the field's red frame leaves its widest number room, and the tooltip the
// save brings up is in the interface's language and fits.
TEST_F(ConfiguratorTextFit, RefusedNumberAndItsRange) {
    ASSERT_TRUE(Connect());
    Select(IDS_BARCODE);
    auto* field = window->Page(kPageBarcode)->findChild<QLineEdit*>("heightEdit");
    field->setText("999");
    SaveButton()->click();
    ASSERT_TRUE(QToolTip::isVisible());
    const auto tips = window->findChildren<QLabel*>("qtooltip_label");
    ASSERT_EQ(tips.size(), 1) << "the tooltip is measured with the window";
    EXPECT_EQ(tips[0]->text(), Text(IDS_NUMBER_ALLOWED).arg(0).arg(255));
    ExpectAllFit(window.get(), "refused number");
}

TEST_F(ConfiguratorTextFit, AboutBox) {
    CAboutDlg about(window.get());
    about.show();
    ExpectAllFit(&about, "about box");
}

TEST_F(ConfiguratorTextFit, WindowAndAboutIconsAreLoaded) {
    EXPECT_FALSE(window->windowIcon().isNull());
    CAboutDlg about(window.get());
    EXPECT_FALSE(about.findChild<QLabel*>("icon")->pixmap().isNull());
}

}  // namespace
