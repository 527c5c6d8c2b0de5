// Loader: puts a firmware program or a font into a TQ-20 printer's controller.
#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>

#include "CLoaderDlg.h"
#include "InfoOptions.h"
#include "InterfaceLanguage.h"
#include "QtNotifier.h"
#include "QtProfileStore.h"
#include "SystemPrinterQueues.h"
#include "Tq20Version.h"

int main(int argc, char** argv) {
    QApplication::setApplicationName("Loader");
    QApplication::setApplicationVersion(kTq20Version);
    QCommandLineParser parser;
    parser.setApplicationDescription("Loads a firmware program or a font into a TQ-20 printer.");
    parser.addHelpOption();
    parser.addVersionOption();
    AnswerInfoOptions(parser, argc, argv);
    // Also undoes what a program that ended without releasing its queues left held.
    const auto queues = OpenSystemPrinterQueues();
    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName("tq20-loader");
    UseInterfaceLanguage(QLocale::system());
    parser.process(app);

    CQtNotifier notifier;
    const auto profile = CQtProfileStore::ForApplication("Local AppWizard-Generated Applications",
                                                         QApplication::applicationName());
    CLoaderDlg window(notifier, *profile);
    notifier.SetParent(&window);
    window.SetPrinterQueues(queues.get());
    window.exec();
    return 0;
}
