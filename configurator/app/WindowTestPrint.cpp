#include "WindowTestPrint.h"

#include <chrono>
#include <string>

#include "BuiltInSample.h"
#include "InterfaceLanguage.h"
#include "TestPrintComposer.h"

std::vector<std::uint8_t> WindowTestPrint(const PrinterSettings& record) {
    const SampleLanguage language = CurrentInterfaceLanguage() == InterfaceLanguage::English
                                        ? SampleLanguage::English
                                        : SampleLanguage::Russian;
    std::vector<std::uint8_t> bytes;
    std::string error;  // the built-in samples compose: their test says so
    ComposeTestPrint(BuiltInSample(language), record,
                     TestPrintDate(std::chrono::system_clock::now()), bytes, error);
    return bytes;
}
