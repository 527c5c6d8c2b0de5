// An arbitrary sample under an arbitrary settings record: composing never crashes, refuses
// with a reason or gives bytes that start by going back to the printer's settings, and those
// bytes draw. The first 19 bytes are the record.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ReceiptRenderer.h"
#include "TestPrintComposer.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < PrinterSettings::kSize) {
        return 0;
    }
    const std::span<const std::uint8_t> bytes(data, size);
    const auto record = PrinterSettings::FromBytes(bytes.first<PrinterSettings::kSize>());
    const auto text = bytes.subspan(PrinterSettings::kSize);
    const std::string_view sample(reinterpret_cast<const char*>(text.data()), text.size());
    std::vector<std::uint8_t> receipt;
    std::string error;
    if (!ComposeTestPrint(sample, record, "2026-12-10 12:00", receipt, error)) {
        if (error.rfind("line ", 0) != 0) {
            std::abort();
        }
        return 0;
    }
    if (receipt.size() < 2 || receipt[0] != 0x1B || receipt[1] != 0x40) {
        std::abort();
    }
    RenderReceipt(receipt, record);
    return 0;
}
