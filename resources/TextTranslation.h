#pragma once

// The windows speak the user's language; the string tables and the few texts built in the core
// hold the Russian originals. A window program installs a translator at start; without one
// (tq20, the core's tests) every text stays the original.
using TextTranslator = const char* (*)(const char* context, const char* text);

// The translator stays in effect for the rest of the run (or until replaced); nullptr removes it.
void SetTextTranslator(TextTranslator translator);

// The text in the interface's language, looked up under its context; valid for the whole run.
const char* TranslatedText(const char* context, const char* text);
