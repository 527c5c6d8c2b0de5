// The loader speaks English in an English locale and Russian in every other, chosen from the
// environment as a user's session sets it.
#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "CAboutDlg.h"
#include "CLoaderDlg.h"
#include "InterfaceLanguage.h"
#include "LanguageChild.h"
#include "LoaderStrings.h"
#include "QtProfileStore.h"
#include "RecordingNotifier.h"

namespace {

const std::vector<std::string> kRussian{
    "Загрузчик",      "Параметры интерфейса",
    "Файл с данными", "Загрузить",
    "О программе",    "Невозможно открыть файл с данными.",
    "Загрузчик",      "Отмена",
};

const std::vector<std::string> kEnglish{
    "Loader",    "Interface settings",
    "Data file", "Load",
    "About",     "The data file cannot be opened.",
    "Loader",    "Cancel",
};

void Print(const QString& text) {
    PrintCaption(text.toStdString());
}

// Run only as the child of the test below, in the environment it sets.
TEST(LoaderLanguageChild, DISABLED_PrintCaptions) {
    UseInterfaceLanguage(QLocale::system());
    QTemporaryDir folder;
    const auto profile = CQtProfileStore::AtFile(folder.filePath("Loader.ini"));
    RecordingNotifier notifier;
    CLoaderDlg window(notifier, *profile);
    window.show();
    Print(window.windowTitle());
    Print(window.findChild<QLabel*>("interfaceLabel")->text());
    Print(window.findChild<QLabel*>("fileLabel")->text());
    Print(window.findChild<QPushButton*>("loadButton")->text());
    Print(CAboutDlg(&window).windowTitle());
    window.findChild<QLineEdit*>("fileEdit")->setText(folder.filePath("missing.bin"));
    window.findChild<QPushButton*>("loadButton")->click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !notifier.Messages().empty(); }, 5000));
    PrintCaption(notifier.Messages().front().text);
    PrintCaption(notifier.Messages().front().caption);
    Print(QCoreApplication::translate("QPlatformTheme", "Cancel"));
}

// Every text of the table is translated, with the "%s" that takes the controller's model.
TEST(LoaderLanguage, EveryTableTextHasItsEnglish) {
    std::vector<std::pair<LoaderString, std::string>> russian;
    for (int id = IDS_ABOUTBOX; id <= IDS_LOAD_STOPPED; ++id) {
        russian.emplace_back(static_cast<LoaderString>(id),
                             LoadString(static_cast<LoaderString>(id)));
    }
    UseInterfaceLanguage(QLocale(QLocale::English, QLocale::UnitedStates));
    for (const auto& [id, original] : russian) {
        const QString english = QString::fromUtf8(LoadString(id));
        EXPECT_FALSE(english.isEmpty()) << id;
        EXPECT_FALSE(std::any_of(english.begin(), english.end(),
                                 [](QChar c) { return c.script() == QChar::Script_Cyrillic; }))
            << id << ": " << english.toStdString();
        EXPECT_EQ(english.contains("%s"), original.find("%s") != std::string::npos) << id;
    }
    EXPECT_EQ(FormatString(IDS_LOADING_FONT, "TQ-20"), "Loading the font into TQ-20...");
    UseInterfaceLanguage(QLocale(QLocale::Russian, QLocale::Russia));
    EXPECT_EQ(FormatString(IDS_LOADING_FONT, "TQ-20"), "Загрузка шрифта в TQ-20...");
}

TEST(LoaderLanguage, EnglishLocaleGivesEnglishAnyOtherRussian) {
    const std::pair<const char*, bool> cases[] = {
        {"LANG=en_US.UTF-8", true},
        {"LANG=ru_RU.UTF-8 LC_ALL=en_AU.UTF-8", true},
        {"LANG=ru_RU.UTF-8", false},
        {"LANG=fr_FR.UTF-8", false},
        {"", false},
    };
    for (const auto& [environment, english] : cases) {
        EXPECT_EQ(CaptionsInChild(environment, "LoaderLanguageChild.DISABLED_PrintCaptions"),
                  english ? kEnglish : kRussian)
            << "environment: " << environment;
    }
}

}  // namespace
