// Random settings files: reading never fails unsafely, and an accepted file names only fields
// that exist.
#include <cstdlib>
#include <string>

#include "SettingsText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    PrinterSettings settings{};
    std::vector<std::size_t> written;
    std::string error;
    if (!ApplyJson(text, settings, written, error)) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    for (std::size_t index : written) {
        if (index >= PrinterSettings::kSize) {
            std::abort();
        }
    }
    return 0;
}
