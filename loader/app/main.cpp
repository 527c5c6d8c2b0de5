// Loader: puts a firmware program or a font into a TQ-20 printer's controller.
#include <QApplication>

#include "CLoaderDlg.h"
#include "DialogFont.h"
#include "QtNotifier.h"
#include "QtProfileStore.h"
#include "SystemPrinterQueues.h"

int main(int argc, char** argv) {
    const auto queues = OpenSystemPrinterQueues();
    QApplication app(argc, argv);
    QApplication::setApplicationName("Loader");
    UseDialogFont();

    CQtNotifier notifier;
    const auto profile = CQtProfileStore::ForApplication("Local AppWizard-Generated Applications",
                                                         QApplication::applicationName());
    CLoaderDlg window(notifier, *profile);
    notifier.SetParent(&window);
    window.SetPrinterQueues(queues.get());
    window.exec();
    return 0;
}
