#include "ReceiptPicture.h"

// The barcode library the drawing needs has no Windows build here; the test print itself
// only sends bytes and works.
bool WriteReceiptPicture(std::span<const std::uint8_t>, const PrinterSettings&, const std::string&,
                         std::string& error) {
    error = "This build of tq20 does not draw receipts: use the Linux build for a picture.";
    return false;
}
