#include "CConfigApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLocale>

#include "CConfigDlg.h"
#include "InfoOptions.h"
#include "InterfaceLanguage.h"
#include "QtNotifier.h"
#include "QtProfileStore.h"
#include "SystemPrinterQueues.h"
#include "Tq20Version.h"

CConfigApp::CConfigApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CConfigApp::Run() {
    QApplication::setApplicationName("Velkor");
    QApplication::setApplicationVersion(kTq20Version);
    // A device that the system does not list, such as a simulator's pseudo-terminal, can be
    // offered on the command line.
    QCommandLineParser parser;
    parser.setApplicationDescription("TQ-20 printer configurator.");
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(
        {"port", "Offer this serial device in the port list and choose it.", "device"});
    AnswerInfoOptions(parser, m_argc, m_argv);
    // Also undoes what a program that ended without releasing its queues left held.
    const auto queues = OpenSystemPrinterQueues();
    QApplication app(m_argc, m_argv);
    QGuiApplication::setDesktopFileName("tq20-velkor");
    UseInterfaceLanguage(QLocale::system());
    parser.process(app);
    std::vector<std::string> extraPorts;
    if (parser.isSet("port")) {
        extraPorts.push_back(parser.value("port").toStdString());
    }
    CQtNotifier notifier;
    const auto profile = CQtProfileStore::ForApplication("Dalvex\\TQ-10 MiniPrinter\\Configurer",
                                                         QApplication::applicationName());
    CConfigDlg window(notifier, *profile, *queues, extraPorts);
    notifier.SetParent(&window);
    window.exec();
    return 0;
}
