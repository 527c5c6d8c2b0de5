// Random FIELD=VALUE texts: parsing never fails unsafely, a refusal always says why, and an
// accepted value written back in decimal and in hexadecimal parses to the same field and value.
// The same texts as settings by meaning: an accepted one applies to a record through the
// pages' store rules without fault.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "SettingEdit.h"
#include "SettingValues.h"

namespace {

void ExpectMeaningApplies(const std::string& text) {
    std::string error;
    const auto edit = ParseEdit(text, error);
    if (!edit) {
        if (error.empty()) {
            std::abort();
        }
        return;
    }
    if (edit->field >= PrinterSettings::kSize) {
        std::abort();
    }
    PrinterSettings record{};
    ApplyEdit(*edit, record);
}

void ExpectSame(const std::string& text, const SettingValue& expected) {
    std::string error;
    const auto again = ParseAssignment(text, error);
    if (!again || again->index != expected.index || again->value != expected.value) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ExpectMeaningApplies(text);
    std::string error;
    const auto parsed = ParseAssignment(text, error);
    if (!parsed) {
        if (error.empty()) {
            std::abort();
        }
        return 0;
    }
    if (parsed->index >= PrinterSettings::kSize) {
        std::abort();
    }
    const std::string name = SettingName(parsed->index);
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%X", parsed->value);
    ExpectSame(name + "=" + std::to_string(parsed->value), *parsed);
    ExpectSame(name + "=" + hex, *parsed);
    return 0;
}
