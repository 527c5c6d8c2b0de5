// Draws the loader's window, with the simulator's port chosen, before and during a font load,
// and its about box into the README's screenshots, in the language of the locale it runs in.
// Run by scripts/screenshots on a virtual display, against a simulator that paces its bytes.
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>

#include "CAboutDlg.h"
#include "CLoaderDlg.h"
#include "CTextProgressCtrl.h"
#include "InterfaceLanguage.h"
#include "QtProfileStore.h"
#include "ScreenshotWait.h"
#include "ShotNotifier.h"

namespace {

// A 32 KiB font for the printer's controller, in the file format the loader reads.
QString WriteFont(const QTemporaryDir& folder) {
    QByteArray bytes("MyFNT");
    bytes.append("TQ-20 A0");
    bytes.append('\0');
    for (int i = 0; i < 32 * 1024; ++i) {
        bytes.append(static_cast<char>((i * 37) & 0xFF));
    }
    const QString path = folder.filePath("tq20-cyrillic.fnt");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        return {};
    }
    return path;
}

// The bar is drawn with a third of the font sent, the status text across it.
bool ShootLoad(CLoaderDlg& window, const QString& font, const QString& picture) {
    window.findChild<QLineEdit*>("fileEdit")->setText(font);
    window.findChild<QPushButton*>("loadButton")->click();
    auto* bar = window.findChild<CTextProgressCtrl*>("progress");
    if (!WaitFor([&] { return bar->GetPos() > bar->Upper() / 3; }, 20000)) {
        std::fprintf(stderr, "the load did not get going\n");
        return false;
    }
    return SaveShot(&window, picture);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseInterfaceLanguage(QLocale::system());
    QCommandLineParser parser;
    parser.addOption({"port", "The printer's device.", "device"});
    parser.addOption({"out", "Folder for the pictures.", "folder"});
    parser.process(app);
    const QString out = parser.value("out");
    QTemporaryDir folder;  // a profile of its own: the user's stays untouched
    const auto profile = CQtProfileStore::AtFile(folder.filePath("Loader.ini"));
    profile->SetString("Settings", "_combo_comm_port", parser.value("port").toStdString());
    CShotNotifier notifier;
    CLoaderDlg window(notifier, *profile);
    window.findChild<QLineEdit*>("fileEdit")->setText("/home/service/firmware/tq20-a0.bin");
    window.show();
    if (!SaveShot(&window, out + "/loader.png")) {
        return 1;
    }
    {
        CAboutDlg about(&window);
        about.show();
        if (!SaveShot(&about, out + "/loader-about.png")) {
            return 1;
        }
    }
    // A short folder, so the path fits the file field as a user's usually does.
    const QTemporaryDir fonts(QDir::tempPath() + "/fonts-XXXXXX");
    const QString font = WriteFont(fonts);
    return !font.isEmpty() && ShootLoad(window, font, out + "/loader-loading.png") ? 0 : 1;
}
