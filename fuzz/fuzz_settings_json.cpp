// Random settings files: reading never fails unsafely; an accepted file names only fields
// that exist, and the record it gives, saved and read again, is the same record.
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
    PrinterSettings again{};
    std::vector<std::size_t> all;
    if (!ApplyJson(SettingsAsJson(settings).dump(), again, all, error) || again != settings) {
        std::abort();
    }
    return 0;
}
