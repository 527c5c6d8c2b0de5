#include "ReceiptPicture.h"

#include "ReceiptPng.h"
#include "ReceiptRenderer.h"

bool WriteReceiptPicture(std::span<const std::uint8_t> bytes, const PrinterSettings& record,
                         const std::string& path, std::string& error) {
    return WriteReceiptPng(RenderReceipt(bytes, record), record.contrast, path, error);
}
