#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <future>

#include "DataFile.h"
#include "LoaderFiles.h"

namespace {

struct PathCase {
    const char* name;
    std::string path;
    DataFileStatus status;
};

// Whatever the path names, the reader answers promptly with a status: it never waits for a
// writer, never reads a device, and never reads more than the largest useful file.
TEST(DataFile, ReadsOnlyRegularFilesOfBoundedSize) {
    using namespace std::chrono_literals;
    const ScratchFolder scratch;
    const std::string fifo = scratch.Fifo("printer.fnt");
    // Model "TQ-20A": a header of 14 bytes, then 8-byte empty records up to exactly the limit.
    const std::string atLimit =
        scratch.SparseFile("limit.bin", ProgramFileBytes("TQ-20A", 1, {}), kMaxDataFileSize);
    const PathCase cases[] = {
        {"folder", scratch.Path(), DataFileStatus::CannotOpen},
        {"FIFO without a writer", fifo, DataFileStatus::CannotOpen},
        {"device that never ends", "/dev/zero", DataFileStatus::CannotOpen},
        {"missing file", scratch.Path() + "/none.bin", DataFileStatus::CannotOpen},
        {"program of the largest size", atLimit, DataFileStatus::Ok},
        {"one byte over the limit",
         scratch.SparseFile("over.bin", ProgramFileBytes("TQ-20A", 1, {}), kMaxDataFileSize + 1),
         DataFileStatus::Malformed},
        {"100 MB font", scratch.SparseFile("big.fnt", FontFileBytes("F", {1}), 100 << 20),
         DataFileStatus::Malformed},
    };
    for (const PathCase& c : cases) {
        auto read = std::async(std::launch::async, [&c] { return ReadDataFile(c.path); });
        if (read.wait_for(3s) != std::future_status::ready) {
            ADD_FAILURE() << c.name << ": the reader blocks";
            ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets a stuck open go on
        }
        EXPECT_EQ(read.get().status, c.status) << c.name;
    }
}

}  // namespace
