#include "CConfigApp.h"

#include <QApplication>
#include <QCommandLineParser>

#include "CConfigDlg.h"
#include "QtNotifier.h"
#include "QtProfileStore.h"
#include "StandardDialogLanguage.h"

CConfigApp::CConfigApp(int& argc, char** argv) : m_argc(argc), m_argv(argv) {}

int CConfigApp::Run() {
    QApplication app(m_argc, m_argv);
    QApplication::setApplicationName("Velkor");
    UseRussianStandardDialogs();
    // A device that the system does not list, such as a simulator's pseudo-terminal, can be
    // offered on the command line.
    QCommandLineParser parser;
    parser.addHelpOption();
    parser.addOption({"port", "Offer this serial device in the port list.", "device"});
    parser.process(app);
    std::vector<std::string> extraPorts;
    if (parser.isSet("port")) {
        extraPorts.push_back(parser.value("port").toStdString());
    }
    CQtNotifier notifier;
    const auto profile = CQtProfileStore::ForApplication("Dalvex\\TQ-10 MiniPrinter\\Configurer",
                                                         QApplication::applicationName());
    CNoPrinterQueues queues;
    CConfigDlg window(notifier, *profile, queues, extraPorts);
    notifier.SetParent(&window);
    window.exec();
    return 0;
}
