#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "CQueueJournal.h"
#include "CSpoolerPrinterQueues.h"
#include "LoaderFiles.h"

namespace {

namespace fs = std::filesystem;

// The journal in a scratch folder: what a starting program does with the lists it finds.
class QueueJournalTest : public ::testing::Test {
protected:
    void WriteLeftover(const std::string& name, const std::string& text) {
        std::ofstream(folder / name, std::ios::binary) << text;
    }
    std::string Text(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::vector<std::string> Recover() {
        std::vector<std::string> released;
        CQueueJournal(folder).RecoverLeftovers([&](const std::string& queue) {
            released.push_back(queue);
            return queue != "Stubborn";
        });
        return released;
    }
    std::string OwnList() const { return std::to_string(::GetCurrentProcessId()) + ".queues"; }

    ScratchFolder scratch;
    fs::path folder = scratch.Path();
};

TEST_F(QueueJournalTest, ListsOfEndedProgramsAreReleasedAndRemoved) {
    WriteLeftover("4001.queues", "Receipts\nLabels\n");
    WriteLeftover("4001.lock", "");
    WriteLeftover("4002.queues", "Kitchen\nStubborn\n");
    auto released = Recover();
    std::sort(released.begin(), released.end());
    EXPECT_EQ(released, (std::vector<std::string>{"Kitchen", "Labels", "Receipts", "Stubborn"}));
    EXPECT_FALSE(fs::exists(folder / "4001.queues"));
    EXPECT_FALSE(fs::exists(folder / "4001.lock"));
    EXPECT_EQ(Text("4002.queues"), "Stubborn\n") << "a queue not released is tried next time";
}

TEST_F(QueueJournalTest, ListOfALiveProgramIsLeftAlone) {
    CQueueJournal live(folder);
    ASSERT_TRUE(live.Add("Receipts"));
    EXPECT_TRUE(Recover().empty());
    EXPECT_EQ(Text(OwnList()), "Receipts\n");
    live.Remove("Receipts");
    EXPECT_FALSE(fs::exists(folder / OwnList()));
}

// A program that ended while holding a queue left it on "FILE:" with its port in the journal;
// the next program points it back (a queue removed since counts as done).
TEST_F(QueueJournalTest, TheSpoolerPointsBackWhatAnEndedProgramHeld) {
    WriteLeftover("4003.queues", "Removed receipt queue\tCOM5:\n");
    const CSpoolerPrinterQueues queues(folder);
    EXPECT_FALSE(fs::exists(folder / "4003.queues"));
}

}  // namespace
