// Draws every page of the configurator, connected to a printer (the simulator), and its about
// box into the README's screenshots, in the language of the locale it runs in. Run by
// scripts/screenshots on a virtual display.
#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QFile>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSlider>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "CAboutDlg.h"
#include "CConfigDlg.h"
#include "CConnectionDlg.h"
#include "ConfiguratorStrings.h"
#include "InterfaceLanguage.h"
#include "QtProfileStore.h"
#include "ScreenshotWait.h"
#include "ShotNotifier.h"

namespace {

struct Shot {
    int itemText;
    const char* file;
};

const Shot kPages[] = {
    {IDS_CONNECTION, "velkor-connection.png"},
    {IDS_PRINTING, "velkor-printing.png"},
    {IDS_FONT, "velkor-font.png"},
    {IDS_TEXT_POSITION, "velkor-textpos.png"},
    {IDS_BARCODE, "velkor-barcode.png"},
    {IDS_RS232, "velkor-port.png"},
    {IDS_PRINTER_SETTINGS, "velkor-options.png"},
    {IDS_SERVICE_INFO, "velkor-info.png"},
};

bool Connect(CConfigDlg& window, const QString& port) {
    auto* page = window.ConnectionPage();
    page->findChild<QComboBox*>("portCombo")->setCurrentText(port);
    page->findChild<QComboBox*>("baudCombo")->setCurrentIndex(0);
    page->findChild<QComboBox*>("flowCombo")->setCurrentIndex(0);
    auto* button = window.findChild<QPushButton*>("connectButton");
    button->click();
    return WaitFor([&] { return button->text() == ConfigString(IDS_DISCONNECT); }, 5000);
}

void Select(CConfigDlg& window, int itemText) {
    auto* tree = window.findChild<QTreeWidget*>("pageTree");
    const auto items =
        tree->findItems(ConfigString(itemText), Qt::MatchExactly | Qt::MatchRecursive);
    tree->setCurrentItem(items.value(0));
}

// The connection page after "Найти принтер" has found the printer's line.
bool FindPrinter(CConfigDlg& window, const QString& port) {
    auto* page = window.ConnectionPage();
    page->findChild<QComboBox*>("portCombo")->setCurrentText(port);
    page->findChild<QComboBox*>("flowCombo")->setCurrentIndex(1);
    auto* find = page->findChild<QPushButton*>("findButton");
    const QString idle = find->text();
    find->click();
    return WaitFor([&] { return find->text() == idle; }, 20000);
}

// The search in the middle of its tries on a line where nobody answers, then stopped.
bool ShootSearching(CConfigDlg& window, const QString& port, const QString& path) {
    auto* page = window.ConnectionPage();
    page->findChild<QComboBox*>("portCombo")->setCurrentText(port);
    auto* find = page->findChild<QPushButton*>("findButton");
    const QString idle = find->text();
    find->click();
    auto* progress = page->findChild<QProgressBar*>("findProgress");
    const bool shot =
        WaitFor([&] { return progress->value() >= 40; }, 20000) && SaveShot(&window, path);
    find->click();
    return WaitFor([&] { return find->text() == idle; }, 5000) && shot;
}

// The information page is shown after its query has been answered in full.
void AskInformation(CConfigDlg& window) {
    window.findChild<QPushButton*>("saveButton")->click();
    auto* text = window.Page(kPageInfo)->findChild<QPlainTextEdit*>("infoText");
    WaitFor(
        [&] {
            return text->toPlainText().contains(ConfigString(IDS_PRINTER_STATE)) &&
                   window.isEnabled();
        },
        5000);
    WaitFor([] { return false; }, 300);
}

// What a technician sees around a save: a number the field refuses, the question on leaving a
// page with an edit, and the status line after a save.
bool ShootEdits(CConfigDlg& window, CShotNotifier& notifier, const QString& out) {
    Select(window, IDS_TEXT_POSITION);
    auto* field = window.Page(kPageTextPosition)->findChild<QLineEdit*>("fieldEdit");
    const QString held = field->text();
    field->setText("999");
    const bool refused = SaveShot(&window, out + "/velkor-refused-number.png");
    field->setText(held);

    Select(window, IDS_PRINTING);
    auto* contrast = window.Page(kPagePrinting)->findChild<QSlider*>("contrastBar");
    const int shown = contrast->value();
    contrast->setValue(shown + 4);
    notifier.ShootQuestionInto(out + "/velkor-unsaved.png");
    Select(window, IDS_FONT);  // answered "Cancel": the page stays
    notifier.ShootQuestionInto({});
    auto* save = window.findChild<QPushButton*>("saveButton");
    save->click();
    WaitFor([&] { return save->isEnabled(); }, 5000);
    const bool saved = SaveShot(&window, out + "/velkor-saved.png");
    contrast->setValue(shown);
    save->click();
    WaitFor([&] { return save->isEnabled(); }, 5000);
    return refused && saved && QFile::exists(out + "/velkor-unsaved.png");
}

// The preview redrawn from a page's unsaved values, then the test print's status line.
bool ShootPreview(CConfigDlg& window, const QString& out) {
    Select(window, IDS_TEXT_POSITION);
    CPage* page = window.Page(kPageTextPosition);
    page->findChild<QComboBox*>("alignmentCombo")->setCurrentIndex(2);
    page->findChild<QLineEdit*>("indentEdit")->setText("6");
    WaitFor([] { return false; }, 300);
    const bool preview = SaveShot(&window, out + "/velkor-preview.png");
    page->Reload();
    auto* testPrint = window.findChild<QPushButton*>("testPrintButton");
    testPrint->click();
    WaitFor([&] { return testPrint->isEnabled(); }, 10000);
    const bool printed = SaveShot(&window, out + "/velkor-test-print.png");
    return preview && printed;
}

// The whole screen, for a screen smaller than the window (1024x768 at scale 2).
bool ShootSmallScreen(CConfigDlg& window, const QString& port, const QString& path) {
    window.move(window.screen()->availableGeometry().topLeft());
    if (!Connect(window, port)) {
        return false;
    }
    Select(window, IDS_RS232);
    WaitFor([] { return false; }, 300);
    if (!window.screen()->grabWindow(0).save(path)) {
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    UseInterfaceLanguage(QLocale::system());
    QCommandLineParser parser;
    parser.addOption({"port", "The printer's device.", "device"});
    parser.addOption({"deaf-port", "A printer that never answers.", "device"});
    parser.addOption({"out", "Folder for the pictures.", "folder"});
    parser.addOption({"small-screen", "Only the whole screen, with the port page shown."});
    parser.process(app);
    const QString port = parser.value("port");
    QTemporaryDir folder;  // a profile of its own: the user's stays untouched
    const auto profile = CQtProfileStore::AtFile(folder.filePath("Velkor.ini"));
    CShotNotifier notifier;
    CNoPrinterQueues queues;
    const QString deaf = parser.value("deaf-port");
    CConfigDlg window(notifier, *profile, queues, {port.toStdString(), deaf.toStdString()});
    window.show();
    const QString out = parser.value("out");
    if (parser.isSet("small-screen")) {
        return ShootSmallScreen(window, port, out + "/velkor-small-screen.png") ? 0 : 1;
    }
    if (!ShootSearching(window, deaf, out + "/velkor-find-progress.png")) {
        std::fprintf(stderr, "the search on %s did not show its progress\n", qPrintable(deaf));
        return 1;
    }
    if (!FindPrinter(window, port) || !SaveShot(&window, out + "/velkor-find.png")) {
        std::fprintf(stderr, "no printer found on %s\n", qPrintable(port));
        return 1;
    }
    if (!Connect(window, port)) {
        std::fprintf(stderr, "the printer on %s did not answer\n", qPrintable(port));
        return 1;
    }
    for (const Shot& shot : kPages) {
        Select(window, shot.itemText);
        if (shot.itemText == IDS_SERVICE_INFO) {
            AskInformation(window);
        }
        if (!SaveShot(&window, parser.value("out") + "/" + shot.file)) {
            return 1;
        }
    }
    if (!ShootEdits(window, notifier, out)) {
        std::fprintf(stderr, "the pictures around a save were not drawn\n");
        return 1;
    }
    if (!ShootPreview(window, out)) {
        std::fprintf(stderr, "the preview and the test print were not drawn\n");
        return 1;
    }
    CAboutDlg about(&window);
    about.show();
    return SaveShot(&about, parser.value("out") + "/velkor-about.png") ? 0 : 1;
}
