#pragma once

class QLocale;

enum class InterfaceLanguage { Russian, English };

// English for a locale whose language is English; Russian, the windows' own language, for every
// other one, the C locale included.
InterfaceLanguage LanguageFor(const QLocale& locale);

// Puts the windows' texts and Qt's own (the file dialog, message box buttons, context menus of
// text fields) into the language for the locale: the programs' English translation with Qt's own
// English, or the Russian originals with Qt's Russian translations as the system installs them
// (without those the standard texts stay in English). Called before the windows are made; a
// later call replaces the language for windows made after it.
void UseInterfaceLanguage(const QLocale& locale);
// The language the last call chose; Russian before any.
InterfaceLanguage CurrentInterfaceLanguage();
