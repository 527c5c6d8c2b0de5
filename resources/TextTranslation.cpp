#include "TextTranslation.h"

#include <atomic>

namespace {

// Atomic: the loader's messages are also built on its port's reader thread.
std::atomic<TextTranslator> g_translator{nullptr};

}  // namespace

void SetTextTranslator(TextTranslator translator) {
    g_translator.store(translator);
}

const char* TranslatedText(const char* context, const char* text) {
    const TextTranslator translator = g_translator.load();
    return translator == nullptr ? text : translator(context, text);
}
