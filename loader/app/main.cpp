// Loader: puts a firmware program or a font into a TQ-20 printer's controller.
#include <QApplication>

#include "CLoaderDlg.h"
#include "QtNotifier.h"
#include "QtProfileStore.h"
#include "StandardDialogLanguage.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName("Loader");
    UseRussianStandardDialogs();

    CQtNotifier notifier;
    const auto profile = CQtProfileStore::ForApplication("Local AppWizard-Generated Applications",
                                                         QApplication::applicationName());
    CLoaderDlg window(notifier, *profile);
    notifier.SetParent(&window);
    window.exec();
    return 0;
}
