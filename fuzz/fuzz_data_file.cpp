// Random data files: reading never fails unsafely, and a file that is accepted can be taken
// apart record by record and block by block without leaving its bounds.
#include <cstdlib>

#include "CLoadData.h"
#include "DataFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DataFileResult read = ParseDataFile(std::span(data, size));
    if (read.status != DataFileStatus::Ok) {
        return 0;
    }
    CLoadData load(read.file);
    LoadBlock block;
    if (read.file.IsProgram()) {
        while (load.TakeNextRecord(block)) {
            if (block.length < 0 || block.length > kMaxBlockLength) {
                std::abort();
            }
        }
        return 0;
    }
    block.header[0] = size > 0 ? data[0] : 0;
    for (bool first = true; !load.PayloadEmpty(); first = false) {
        load.CutFontBlock(block, first);
        if (block.length <= 0 || block.length > kMaxBlockLength) {
            std::abort();
        }
    }
    return 0;
}
