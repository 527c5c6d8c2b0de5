// Draws the loader's window, with the simulator's port chosen, into the README's screenshot.
// Run by scripts/screenshots on a virtual display.
#include <QApplication>
#include <QCommandLineParser>
#include <QLineEdit>
#include <QLocale>
#include <QTemporaryDir>

#include "CLoaderDlg.h"
#include "InterfaceLanguage.h"
#include "QtNotifier.h"
#include "QtProfileStore.h"
#include "ScreenshotWait.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseInterfaceLanguage(QLocale::system());
    QCommandLineParser parser;
    parser.addOption({"port", "The printer's device.", "device"});
    parser.addOption({"out", "Folder for the picture.", "folder"});
    parser.process(app);
    QTemporaryDir folder;  // a profile of its own: the user's stays untouched
    const auto profile = CQtProfileStore::AtFile(folder.filePath("Loader.ini"));
    profile->SetString("Settings", "_combo_comm_port", parser.value("port").toStdString());
    CQtNotifier notifier;
    CLoaderDlg window(notifier, *profile);
    notifier.SetParent(&window);
    window.findChild<QLineEdit*>("fileEdit")->setText("/home/service/firmware/tq20-a0.bin");
    window.show();
    return SaveShot(&window, parser.value("out") + "/loader.png") ? 0 : 1;
}
