// Random host bytes into the simulated printer, in chunks whose sizes the input chooses: the
// command parser never fails unsafely, its record stays whole, and no reply grows without
// bound.
#include <cstdlib>

#include "SimProtocol.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CSimProtocol printer;
    std::size_t at = 0;
    while (at < size) {
        const std::size_t chunk = 1 + data[at] % 16;
        const std::size_t take = std::min(chunk, size - at);
        const auto out = printer.Feed(std::span(data + at, take));
        // The longest answer is an information line or the boot area's echo of a block.
        if (out.reply.size() > 4096) {
            std::abort();
        }
        at += take;
    }
    (void)printer.Line();
    return 0;
}
