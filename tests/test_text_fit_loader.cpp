// Every text of the loader fits its widget: run once at scale 1 and once with
// QT_SCALE_FACTOR=1.5, with the system's default font.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include "CAboutDlg.h"
#include "CElidingLineEdit.h"
#include "CLoaderDlg.h"
#include "CPrinterSim.h"
#include "CTextProgressCtrl.h"
#include "InterfaceLanguage.h"
#include "LoaderFiles.h"
#include "PortCombo.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"
#include "TextFit.h"

namespace {

// A USB adapter's stable name, as long as device paths get.
const QString kLongPort = "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";

class LoaderTextFit : public ::testing::Test {
protected:
    void SetUp() override {
        // The run's environment chooses the language, as for a user.
        UseInterfaceLanguage(QLocale::system());
        profile = CQtProfileStore::AtFile(folder.filePath("Loader.ini"));
        window = std::make_unique<CLoaderDlg>(notifier, *profile);
    }

    QTemporaryDir folder;
    RecordingNotifier notifier;
    std::unique_ptr<CQtProfileStore> profile;
    std::unique_ptr<CLoaderDlg> window;
};

TEST_F(LoaderTextFit, LoaderWindowWithALongPortPath) {
    profile->SetString("Settings", "_combo_comm_port", kLongPort.toStdString());
    window = std::make_unique<CLoaderDlg>(notifier, *profile);
    window->findChild<QLineEdit*>("fileEdit")->setText("/home/service/firmware/tq20-a0.bin");
    window->show();
    ExpectAllFit(window.get(), "loader");
    EXPECT_EQ(window->findChild<QComboBox*>("portCombo")->toolTip(), kLongPort);
}

// The port box takes the width the window is given, up to its limit, and a path even that
// cannot hold is shown elided in the middle, with the whole path in its tooltip.
TEST_F(LoaderTextFit, PortBoxGrowsWithTheWindowAndElidesALongPath) {
    const QString path = "/dev/serial/by-id/usb-" + QString(300, 'x') + "-if00-port0";
    for (const QString& port : {QString("/dev/ttyUSB0"), path}) {
        profile->SetString("Settings", "_combo_comm_port", port.toStdString());
        window = std::make_unique<CLoaderDlg>(notifier, *profile);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        auto* box = window->findChild<QComboBox*>("portCombo");
        auto* field = dynamic_cast<CElidingLineEdit*>(box->lineEdit());
        ASSERT_NE(field, nullptr);
        const int before = box->width();
        window->resize(window->width() + 200, window->height());
        QTest::qWait(0);
        EXPECT_EQ(box->width(), std::min(before + 200, PortComboWidthLimit(box)))
            << port.toStdString();
        EXPECT_EQ(box->currentText(), port);
        EXPECT_EQ(box->toolTip(), port);
        const QString shown = field->ShownText();
        EXPECT_LE(field->fontMetrics().horizontalAdvance(shown), field->width());
        if (port == path) {
            EXPECT_TRUE(shown.startsWith("/dev/serial/")) << shown.toStdString();
            EXPECT_TRUE(shown.contains(QChar(0x2026))) << shown.toStdString();
            EXPECT_TRUE(shown.endsWith("xxx-if00-port0")) << shown.toStdString();
        } else {
            EXPECT_EQ(shown, port);
        }
    }
}

// The bar's status text, with the printer's model in it and the percentage after it, fits across
// the bar while a load runs.
TEST_F(LoaderTextFit, ProgressTextDuringALoad) {
    CPrinterSim sim;
    ASSERT_TRUE(sim.Start());
    sim.SetPacing(true);
    const TempFile font("f.fnt", FontFileBytes("", Pattern(4000, 4)));
    profile->SetString("Settings", "_combo_comm_port", sim.DevicePath());
    window = std::make_unique<CLoaderDlg>(notifier, *profile);
    window->findChild<QLineEdit*>("fileEdit")->setText(QString::fromStdString(font.Path()));
    window->show();
    window->findChild<QPushButton*>("loadButton")->click();
    auto* bar = window->findChild<CTextProgressCtrl*>("progress");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->Text().contains("TQ-20 A0"); }, 5000));
    ExpectAllFit(window.get(), "loading");
    EXPECT_GE(bar->height(), bar->fontMetrics().height());
    // The window widens for the model's name once the layout has settled.
    EXPECT_TRUE(QTest::qWaitFor([&] { return bar->DrawnText() == bar->ShownText(); }, 1000))
        << bar->ShownText().toStdString() << " drawn as " << bar->DrawnText().toStdString();
    EXPECT_LE(bar->fontMetrics().horizontalAdvance(bar->ShownText()), bar->width())
        << bar->ShownText().toStdString();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->IsLoading(); }, 30000));
}

// Put against the screen's right edge, as a user may have put it, the window stays on its
// screen when a load's status text widens it, and it never asks for more than the screen has.
TEST_F(LoaderTextFit, TheWindowStaysOnItsScreenThroughALoad) {
    CPrinterSim sim;
    ASSERT_TRUE(sim.Start());
    sim.SetPacing(true);
    const TempFile font("f.fnt", FontFileBytes("", Pattern(4000, 4)));
    profile->SetString("Settings", "_combo_comm_port", kLongPort.toStdString());
    window = std::make_unique<CLoaderDlg>(notifier, *profile);
    window->findChild<QComboBox*>("portCombo")
        ->setEditText(QString::fromStdString(sim.DevicePath()));
    window->findChild<QLineEdit*>("fileEdit")->setText(QString::fromStdString(font.Path()));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    const QRect area = window->screen()->availableGeometry();
    window->move(area.right() + 1 - window->frameGeometry().width(), area.top());
    EXPECT_TRUE(QTest::qWaitFor([&] { return area.contains(window->frameGeometry()); }, 1000));
    window->findChild<QPushButton*>("loadButton")->click();
    auto* bar = window->findChild<CTextProgressCtrl*>("progress");
    ASSERT_TRUE(QTest::qWaitFor([&] { return bar->Text().contains("TQ-20 A0"); }, 5000));
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return bar->DrawnText() == bar->ShownText() && window->width() > bar->width(); },
        1000));
    EXPECT_TRUE(area.contains(window->frameGeometry()))
        << window->frameGeometry().x() << "+" << window->frameGeometry().width() << " on "
        << area.width();
    EXPECT_LE(window->minimumWidth(), area.width());
    EXPECT_LE(window->minimumHeight(), area.height());
    ExpectAllFit(window.get(), "loading, against the screen's edge");
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window->IsLoading(); }, 30000));
}

TEST_F(LoaderTextFit, AboutBox) {
    CAboutDlg about(window.get());
    about.show();
    ExpectAllFit(&about, "about box");
}

TEST_F(LoaderTextFit, WindowAndAboutIconsAreLoaded) {
    EXPECT_FALSE(window->windowIcon().isNull());
    CAboutDlg about(window.get());
    EXPECT_FALSE(about.findChild<QLabel*>("icon")->pixmap().isNull());
}

TEST(StandardDialogs, SpeakTheInterfaceLanguage) {
    UseInterfaceLanguage(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Отмена"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QString("&Имя файла:"));
    UseInterfaceLanguage(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QString("Cancel"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "File &name:"), QString("File &name:"));
}

}  // namespace
