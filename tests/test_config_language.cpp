// The configurator speaks English in an English locale and Russian in every other, chosen from
// the environment as a user's session sets it.
#include <QLabel>
#include <QLocale>
#include <algorithm>

#include "CAboutDlg.h"
#include "ConfigWindowFixture.h"
#include "FlowCharacters.h"
#include "InterfaceLanguage.h"
#include "LanguageChild.h"

namespace {

const std::vector<std::string> kRussian{
    "TQ-20 Конфигуратор",
    "Установить соединение",
    "Сохранить эти настройки в принтер",
    "Соединение с принтером",
    "Настройки принтера",
    "Параметры печати",
    "Параметры шрифта",
    "Позиционирование текста",
    "Параметры штрих-кода",
    "Параметры RS-232",
    "Служебная информация",
    "Соединение с принтером",
    "Порт:",
    "Соединение с принтером не установлено",
    "О программе",
    "При управлении потоком Xon/Xoff принтер не может передать байты 17 и 19, поэтому "
    "сохранено:\nВысота штрих-кода, линий: 20 вместо 19",
    "Отмена",
};

const std::vector<std::string> kEnglish{
    "TQ-20 Configurator",
    "Connect",
    "Save these settings to the printer",
    "Printer connection",
    "Printer settings",
    "Printing properties",
    "Font properties",
    "Text positioning",
    "Barcode properties",
    "RS-232 settings",
    "Service information",
    "Printer connection",
    "Port:",
    "Not connected to a printer",
    "About",
    "With Xon/Xoff flow control the printer cannot send the bytes 17 and 19, so these were "
    "saved:\nBarcode height, lines: 20 instead of 19",
    "Cancel",
};

void Print(const QString& text) {
    PrintCaption(text.toStdString());
}

// Run only as the child of the test below, in the environment it sets.
TEST(ConfiguratorLanguageChild, DISABLED_PrintCaptions) {
    UseInterfaceLanguage(QLocale::system());
    QTemporaryDir folder;
    const auto profile = CQtProfileStore::AtFile(folder.filePath("Velkor.ini"));
    RecordingNotifier notifier;
    CNoPrinterQueues queues;
    CConfigDlg window(notifier, *profile, queues, {});
    window.show();
    Print(window.windowTitle());
    Print(window.findChild<QPushButton*>("connectButton")->text());
    Print(window.findChild<QPushButton*>("saveButton")->text());
    auto* tree = window.findChild<QTreeWidget*>("pageTree");
    for (QTreeWidgetItemIterator it(tree); *it != nullptr; ++it) {
        Print((*it)->text(0));
    }
    Print(window.ConnectionPage()->findChild<QGroupBox*>("groupBox")->title());
    Print(window.ConnectionPage()->findChild<QLabel*>("portLabel")->text());
    // The window finds the page of a tree item by the item's text.
    tree->setCurrentItem(tree->topLevelItem(1));
    Print(window.Page(kPageEmpty)->findChild<QGroupBox*>("groupBox")->title());
    Print(CAboutDlg(&window).windowTitle());
    PrintCaption(FlowCharacterMessage({{8, 19, 20}}));
    Print(QCoreApplication::translate("QPlatformTheme", "Cancel"));
}

bool HasCyrillic(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return c.script() == QChar::Script_Cyrillic; });
}

// Every text of the table is translated, keeping the spaces that join it to what follows
// (" Жирный" after a style box, "Шрифт:  " before the printer's answer).
TEST(ConfiguratorLanguage, EveryTableTextHasItsEnglish) {
    std::vector<std::pair<int, QString>> russian;
    for (int id = 0; id < 2000; ++id) {
        if (*ConfigString(id) != '\0') {
            russian.emplace_back(id, Text(id));
        }
    }
    ASSERT_GT(russian.size(), 70u);
    UseInterfaceLanguage(QLocale(QLocale::English, QLocale::UnitedKingdom));
    for (const auto& [id, original] : russian) {
        const QString english = Text(id);
        EXPECT_FALSE(HasCyrillic(english)) << id << ": " << english.toStdString();
        EXPECT_EQ(english.startsWith(' '), original.startsWith(' ')) << id;
        EXPECT_EQ(english.endsWith("  "), original.endsWith("  ")) << id;
    }
    UseInterfaceLanguage(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(Text(IDS_TITLE), QString("TQ-20 Конфигуратор"));
}

TEST(ConfiguratorLanguage, EnglishLocaleGivesEnglishAnyOtherRussian) {
    const std::pair<const char*, bool> cases[] = {
        {"LANG=en_US.UTF-8", true},
        {"LANG=en_GB.UTF-8", true},
        {"LANG=ru_RU.UTF-8 LC_ALL=en_US.UTF-8", true},
        {"LANG=ru_RU.UTF-8 LC_MESSAGES=en_US.UTF-8", true},
        {"LANG=ru_RU.UTF-8", false},
        {"LANG=de_DE.UTF-8", false},
        {"LANG=C.UTF-8", false},
        {"", false},
        {"LANG=en_US.UTF-8 LC_ALL=ru_RU.UTF-8", false},
    };
    for (const auto& [environment, english] : cases) {
        EXPECT_EQ(CaptionsInChild(environment, "ConfiguratorLanguageChild.DISABLED_PrintCaptions"),
                  english ? kEnglish : kRussian)
            << "environment: " << environment;
    }
}

}  // namespace
