#include "InterfaceLanguage.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>
#include <mutex>
#include <string>
#include <unordered_set>

#include "TextTranslation.h"

namespace {

// The string tables hand out texts that live for the whole run, so every translation is kept
// once; the set's elements never move.
const char* KeptTranslation(const char* context, const char* text) {
    static std::mutex mutex;
    static std::unordered_set<std::string> kept;
    const std::string translated = QCoreApplication::translate(context, text).toStdString();
    if (translated == text) {
        return text;
    }
    const std::lock_guard lock(mutex);
    return kept.insert(translated).first->c_str();
}

QTranslator* LoadTranslation(InterfaceLanguage language) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    const bool loaded =
        language == InterfaceLanguage::English
            ? translator->load(":/translations/tq20_en.qm")
            : translator->load("qtbase_ru", QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (!loaded) {
        delete translator;
        return nullptr;
    }
    QCoreApplication::installTranslator(translator);
    return translator;
}

InterfaceLanguage g_language = InterfaceLanguage::Russian;

}  // namespace

InterfaceLanguage LanguageFor(const QLocale& locale) {
    return locale.language() == QLocale::English ? InterfaceLanguage::English
                                                 : InterfaceLanguage::Russian;
}

InterfaceLanguage CurrentInterfaceLanguage() {
    return g_language;
}

void UseInterfaceLanguage(const QLocale& locale) {
    g_language = LanguageFor(locale);
    static QPointer<QTranslator> installed;
    if (installed) {
        QCoreApplication::removeTranslator(installed);
        delete installed;
    }
    installed = LoadTranslation(LanguageFor(locale));
    SetTextTranslator(&KeptTranslation);
}
