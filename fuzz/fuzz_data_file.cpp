// Random data files: reading never fails unsafely, the reader gives the same answer through a
// real file as from memory, and a file that is accepted can be taken apart record by record and
// block by block without leaving its bounds.
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "CLoadData.h"
#include "DataFile.h"

namespace {

// One file in a folder of its own, rewritten for every input and removed at exit.
class ScratchFolder {
public:
    ScratchFolder() {
        char pattern[] = "/tmp/fuzz-data-file-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) {
            std::abort();
        }
        m_dir = pattern;
    }
    ~ScratchFolder() { std::filesystem::remove_all(m_dir); }
    std::string File() const { return m_dir + "/data.bin"; }

private:
    std::string m_dir;
};

const std::string& ScratchFile() {
    static const ScratchFolder folder;
    static const std::string path = folder.File();
    return path;
}

DataFileResult ReadThroughAFile(const std::uint8_t* data, std::size_t size) {
    std::ofstream(ScratchFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    return ReadDataFile(ScratchFile());
}

void TakeApart(const DataFileResult& read, std::uint8_t start) {
    CLoadData load(read.file);
    LoadBlock block;
    if (read.file.IsProgram()) {
        while (load.TakeNextRecord(block)) {
            if (block.length < 0 || block.length > kMaxBlockLength) {
                std::abort();
            }
        }
        return;
    }
    block.header[0] = start;
    for (bool first = true; !load.PayloadEmpty(); first = false) {
        load.CutFontBlock(block, first);
        if (block.length <= 0 || block.length > kMaxBlockLength) {
            std::abort();
        }
    }
    if (load.Taken() != load.PayloadSize()) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const DataFileResult read = ParseDataFile(std::span(data, size));
    const DataFileResult fromFile = ReadThroughAFile(data, size);
    if (size > kMaxDataFileSize) {
        if (fromFile.status != DataFileStatus::Malformed) {
            std::abort();
        }
        return 0;
    }
    if (fromFile.status != read.status || fromFile.file.payload != read.file.payload) {
        std::abort();
    }
    if (read.status == DataFileStatus::Ok) {
        TakeApart(read, size > 0 ? data[0] : 0);
    }
    return 0;
}
