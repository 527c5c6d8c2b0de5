#include <gtest/gtest.h>

#include "CLoadLink.h"
#include "CPrinterSim.h"
#include "LoaderFiles.h"
#include "ProcessCpu.h"
#include "PtyPair.h"
#include "RecordingLoadOwner.h"

namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kWatchdog = 300ms;

// A load through a real pseudo-terminal into the simulated controller.
class LinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(sim.Start()); }

    std::unique_ptr<CLoadLink> Open(CLoadData& data, unsigned baud = 115200) {
        ChannelConfig line;
        line.portName = sim.DevicePath();
        line.baudRate = baud;
        auto link = std::make_unique<CLoadLink>(owner, data, line);
        link->SetWatchdogLength(kWatchdog);
        return link;
    }

    // Runs a load to its end and returns the ending notification.
    unsigned Load(CLoadData& data) {
        auto link = Open(data);
        EXPECT_TRUE(link->IsOpen());
        if (data.File().IsProgram()) {
            link->StartProgramLoad();
        } else {
            link->StartFontLoad();
        }
        const unsigned ending = owner.WaitForEnding(30s);
        EXPECT_FALSE(link->IsBusy());
        return ending;
    }

    const Bytes& Memory() {
        sim.WithProtocol([this](CSimProtocol& p) { m_memory = p.BootArea().Memory(); });
        return m_memory;
    }

    void Fault(BootFault fault) {
        sim.WithProtocol([&](CSimProtocol& p) { p.BootArea().SetFault(fault); });
    }

    CPrinterSim sim;
    RecordingLoadOwner owner;

private:
    Bytes m_memory;
};

TEST_F(LinkTest, OneRecordProgramOnTheWire) {
    const Bytes data = Pattern(16, 1);
    CLoadData file(
        ParseDataFile(ProgramFileBytes("TQ-20 A0", 1, {{0x0200, data, 0x0102, 3}})).file);
    EXPECT_EQ(Load(file), LM_DONE);
    Bytes expected{0x1B, 'B',  'O',  'O',  'T', 0x0A, 0x1E, 'r',  'S',  0x01, 0x01, 0x1E, 'a',
                   0x00, 0x02, 0x00, 0x1E, 'd', 16,   0,    0x01, 0x1E, 'e',  0x02, 0x01, 3};
    expected.insert(expected.end(), data.begin(), data.end());
    expected.insert(expected.end(), {0x1E, 'w', 'o', 'k', 0x83});
    ASSERT_TRUE(sim.WaitForReceived(expected.size(), 2s));
    EXPECT_EQ(sim.ReceivedBytes(), expected);
    EXPECT_EQ(owner.Messages(), (std::vector<LoadMessage>{LM_STATUS, LM_DONE}));
    EXPECT_EQ(owner.Records(), 1);
    EXPECT_EQ(LoadMessageText(LM_DONE, "", true), "Программа успешно загружена в принтер.");
}

// Address byte 2 reaches the printer as the bank bit of the flag byte, whatever that bit was
// in the printer's own replies.
TEST_F(LinkTest, ProgramRecordsLandAtTheirAddresses) {
    const std::vector<ProgramRecord> records{{0x000000, Pattern(256, 1)},
                                             {0x000100, Pattern(256, 2)},
                                             {0x01F000, Pattern(100, 3)},
                                             {0x002000, Pattern(1, 4)},
                                             {0x01FF00, Pattern(256, 5)}};
    for (const std::uint8_t printerFlag : {std::uint8_t{0x00}, std::uint8_t{0x01}}) {
        sim.WithProtocol([&](CSimProtocol& p) { p.BootArea().Settings().flag = printerFlag; });
        RecordingLoadOwner one;
        CLoadData file(ParseDataFile(ProgramFileBytes("TQ-20 A0", 9, records)).file);
        ChannelConfig line;
        line.portName = sim.DevicePath();
        CLoadLink link(one, file, line);
        link.StartProgramLoad();
        ASSERT_EQ(one.WaitForEnding(10s), LM_DONE);
        const Bytes& memory = Memory();
        for (const ProgramRecord& record : records) {
            EXPECT_TRUE(
                std::equal(record.data.begin(), record.data.end(), memory.begin() + record.address))
                << std::hex << record.address << " printer flag " << int{printerFlag};
        }
        EXPECT_EQ(one.Records(), 5);
    }
}

// A font that starts in bank 0 and runs on into bank 1 lands whole where it belongs, and one
// that would run past the top of the memory is refused before its first block.
TEST_F(LinkTest, FontAcrossTheBanksLandsWhole) {
    sim.WithProtocol([](CSimProtocol& p) { p.BootArea().Settings().fontStart = 0x0001F0; });
    const Bytes image = Pattern(65536, 8);
    CLoadData file(ParseDataFile(FontFileBytes("", image)).file);
    ASSERT_EQ(Load(file), LM_DONE);
    const Bytes& memory = Memory();
    EXPECT_TRUE(std::equal(image.begin(), image.end(), memory.begin() + 0x0001F0));
    EXPECT_TRUE(std::all_of(memory.begin(), memory.begin() + 0x0001F0, [](std::uint8_t b) {
        return b == 0xFF;
    })) << "nothing wraps round into bank 0";
}

TEST_F(LinkTest, FontThatDoesNotFitIsRefusedBeforeItsFirstBlock) {
    sim.WithProtocol([](CSimProtocol& p) { p.BootArea().Settings().fontStart = 0x010000; });
    CLoadData file(ParseDataFile(FontFileBytes("", Pattern(65537, 8))).file);
    EXPECT_EQ(Load(file), LM_NO_ROOM);
    sim.WithProtocol([](CSimProtocol& p) { EXPECT_TRUE(p.BootArea().BlockAddresses().empty()); });
    EXPECT_EQ(LoadMessageText(LM_NO_ROOM, "", false),
              "Шрифт не помещается в память принтера.\nЗагрузка будет прервана.");
}

TEST_F(LinkTest, FontOf600BytesGoesOutInThreeBlocks) {
    sim.WithProtocol([](CSimProtocol& p) { p.BootArea().Settings().fontStart = 0x010400; });
    const Bytes image = Pattern(600, 7);
    CLoadData file(ParseDataFile(FontFileBytes("", image)).file);
    ASSERT_EQ(Load(file), LM_DONE);
    const auto messages = owner.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), LM_STEP), 3);
    EXPECT_TRUE(std::equal(image.begin(), image.end(), Memory().begin() + 0x010400));
    EXPECT_EQ(file.Model(), "TQ-20 A0");
    std::vector<std::uint32_t> blocks;
    sim.WithProtocol([&](CSimProtocol& p) { blocks = p.BootArea().BlockAddresses(); });
    EXPECT_EQ(blocks, (std::vector<std::uint32_t>{0x010400, 0x010500, 0x010600}));
}

TEST_F(LinkTest, FailuresOnTheWireEndTheLoadOnce) {
    using K = BootFaultKind;
    const std::pair<BootFault, LoadMessage> cases[] = {
        {{K::ControllerCode, 'B'}, LM_BAD_CONTROLLER},
        {{K::Model, 'M'}, LM_MODEL_MISMATCH},
        {{K::PacketFlag, 'a'}, LM_BAD_PACKET},
        {{K::Letters, 'w'}, LM_BAD_COMMAND},
        {{K::AddressEcho, 'a'}, LM_BAD_ADDRESS},
        {{K::SizeEcho, 'd'}, LM_BAD_SIZE},
        {{K::Integrity, 'e'}, LM_INTEGRITY},
        {{K::CheckEcho, 'e'}, LM_BAD_BLOCK_CRC},
        {{K::DataEcho, 'e'}, LM_BAD_ECHO},
    };
    const Bytes bytes = ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(32, 1)}, {64, Pattern(8, 2)}});
    for (const auto& [fault, message] : cases) {
        RecordingLoadOwner one;
        Fault(fault);
        CLoadData file(ParseDataFile(bytes).file);
        ChannelConfig line;
        line.portName = sim.DevicePath();
        CLoadLink link(one, file, line);
        link.StartProgramLoad();
        EXPECT_EQ(one.WaitForEnding(5s), message);
        std::this_thread::sleep_for(kWatchdog + 100ms);
        const auto messages = one.Messages();
        EXPECT_EQ(std::count_if(messages.begin(), messages.end(), EndsLoad), 1) << message;
        EXPECT_FALSE(link.IsBusy());
    }
}

TEST_F(LinkTest, SilenceAtEveryStateEndsInTheTimeOut) {
    const char states[] = {'B', 'M', 'r', 'a', 'd', 'e', 'w'};
    const Bytes bytes = ProgramFileBytes("TQ-20 A0", 1, {{0, Pattern(32, 1)}, {64, Pattern(8, 2)}});
    for (char at : states) {
        RecordingLoadOwner one;
        Fault({BootFaultKind::Silence, at});
        CLoadData file(ParseDataFile(bytes).file);
        ChannelConfig line;
        line.portName = sim.DevicePath();
        CLoadLink link(one, file, line);
        link.SetWatchdogLength(kWatchdog);
        const auto start = std::chrono::steady_clock::now();
        link.StartProgramLoad();
        EXPECT_EQ(one.WaitForEnding(5s), LM_TIMEOUT) << at;
        EXPECT_GE(std::chrono::steady_clock::now() - start, kWatchdog) << at;
        EXPECT_FALSE(link.IsBusy()) << at;
    }
}

TEST_F(LinkTest, PortThatDoesNotOpen) {
    CLoadData file(ParseDataFile(ProgramFileBytes("TQ", 1, {})).file);
    ChannelConfig line;
    line.portName = "/dev/no-such-port";
    CLoadLink link(owner, file, line);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(LoadString(IDS_PORT_NOT_OPENED),
              std::string("Не удалось открыть порт.\nВозможно, он занят другим приложением."));
}

TEST_F(LinkTest, HangUpMidLoadEndsItPromptly) {
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 64; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    CLoadData file(ParseDataFile(ProgramFileBytes("TQ-20 A0", 1, records)).file);
    sim.SetPacing(true);
    auto link = Open(file);
    link->SetWatchdogLength(kLoadReplyWatch);
    link->StartProgramLoad();
    ASSERT_TRUE(sim.WaitForReceived(2000, 10s));
    const double cpuBefore = ProcessCpuSeconds();
    const auto cut = std::chrono::steady_clock::now();
    sim.InjectFault({.kind = SimFaultKind::HangUp, .hangUpAfter = 2});
    EXPECT_EQ(owner.WaitForEnding(5s), LM_LINE_LOST);
    EXPECT_LT(std::chrono::steady_clock::now() - cut, 1s) << "not the two-second watchdog";
    std::this_thread::sleep_for(300ms);
    EXPECT_LT(ProcessCpuSeconds() - cpuBefore, 0.2);
    EXPECT_EQ(LoadMessageText(LM_LINE_LOST, "", true),
              "Связь с принтером потеряна.\nЗагрузка будет прервана.");
}

// The test plays the printer through a whole one-record program load, but the line goes away
// while the loader writes its last block-done request: that is a lost line, not a success.
TEST_F(LinkTest, LastBlockDoneThatCannotBeWrittenIsNoSuccess) {
    PtyPair printer;
    const Bytes data = Pattern(16, 2);
    CLoadData file(ParseDataFile(ProgramFileBytes("TQ-20 A0", 1, {{0x0300, data, 0x0201}})).file);
    ChannelConfig line;
    line.portName = printer.SlavePath();
    CLoadLink link(owner, file, line);
    link.SetWatchdogLength(kLoadReplyWatch);
    link.StartProgramLoad();
    const std::pair<std::size_t, Bytes> turns[] = {
        {5, {0xA0}},
        {1, {'T', 'Q', '-', '2', '0', ' ', 'A', '0', 0x00, 0x1E, 'S', 'M', 0x00, 0x00}},
        {5, {0x1E, 'C', 'A', 0x00, 0x00}},
        {5, {0x1E, 'A', 0x00, 0x03, 0x00}},
        {5, {0x1E, 'D', 16, 0, 0x00}},
    };
    for (const auto& [request, reply] : turns) {
        ASSERT_EQ(printer.ReadFromHost(request, 2s).size(), request);
        printer.WriteChunk(reply);
    }
    ASSERT_EQ(printer.ReadFromHost(5 + data.size(), 2s).size(), 5 + data.size());
    printer.StopHostOutput();
    Bytes dataReply{0x00, 0x00, 0x01, 0x02, 0x00};
    dataReply.insert(dataReply.end(), data.begin(), data.end());
    printer.WriteChunk(dataReply);
    std::this_thread::sleep_for(100ms);  // the loader now waits to write its block-done
    printer.HangUp();
    EXPECT_EQ(owner.WaitForEnding(5s), LM_LINE_LOST);
    const auto messages = owner.Messages();
    EXPECT_EQ(std::count(messages.begin(), messages.end(), LM_DONE), 0);
    EXPECT_EQ(std::count_if(messages.begin(), messages.end(), EndsLoad), 1);
}

// Each load is deleted as soon as it reports success and the next one starts at once: the
// printer's answer to the last block-done request must not reach the next load.
TEST_F(LinkTest, BackToBackLoadsAllSucceed) {
    sim.SetPacing(true);
    const Bytes bytes = ProgramFileBytes("TQ-20 A0", 1, {{0x0100, Pattern(16, 1)}});
    for (const unsigned baud : {115200u, 9600u}) {
        sim.WithProtocol([&](CSimProtocol& p) { p.SetLine({.baudRate = baud, .flowControl = 0}); });
        for (int load = 0; load < 20; ++load) {
            RecordingLoadOwner one;
            CLoadData file(ParseDataFile(bytes).file);
            ChannelConfig line;
            line.portName = sim.DevicePath();
            line.baudRate = baud;
            CLoadLink link(one, file, line);
            link.StartProgramLoad();
            EXPECT_EQ(one.WaitForEnding(5s), LM_DONE) << baud << " bit/s, load " << load;
        }
    }
}

TEST_F(LinkTest, DeletingTheLinkMidLoadStopsItsReader) {
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 32; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    for (int round = 0; round < 5; ++round) {
        CLoadData file(ParseDataFile(ProgramFileBytes("TQ-20 A0", 1, records)).file);
        auto link = Open(file);
        link->StartProgramLoad();
        std::this_thread::sleep_for(std::chrono::milliseconds(5 + 7 * round));
        link.reset();
    }
    SUCCEED() << "no use of a deleted link under the sanitizers";
}

// A stop while the printer's answers are coming in, from the boot conversation to the blocks:
// the load goes idle with no ending of its own, not even the watchdog's, and writes nothing
// more. A stop after the load has ended leaves its ending as it was.
TEST_F(LinkTest, StopEndsARunningLoadWithoutAnEnding) {
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 64; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    const Bytes bytes = ProgramFileBytes("TQ-20 A0", 1, records);
    sim.SetPacing(true);
    for (const int after : {0, 2, 5, 10, 40, 120}) {
        RecordingLoadOwner one;
        CLoadData file(ParseDataFile(bytes).file);
        ChannelConfig line;
        line.portName = sim.DevicePath();
        CLoadLink link(one, file, line);
        link.SetWatchdogLength(kWatchdog);
        link.StartProgramLoad();
        std::this_thread::sleep_for(std::chrono::milliseconds(after));
        EXPECT_TRUE(link.Stop()) << after;
        EXPECT_FALSE(link.IsBusy()) << after;
        std::this_thread::sleep_for(50ms);
        const std::size_t heard = sim.ReceivedBytes().size();
        EXPECT_EQ(one.WaitForEnding(kWatchdog + 200ms), 0u) << after;
        EXPECT_EQ(sim.ReceivedBytes().size(), heard) << after;
        EXPECT_FALSE(link.Stop()) << after << ": stopped once";
    }
    sim.SetPacing(false);
    CLoadData file(ParseDataFile(bytes).file);
    auto link = Open(file);
    link->StartProgramLoad();
    EXPECT_EQ(owner.WaitForEnding(30s), LM_DONE);
    EXPECT_FALSE(link->Stop());
    EXPECT_EQ(owner.Messages().back(), LM_DONE);
}

// A load cut off while the printer is still answering, and at once tried again: the new
// load must not take the old answer's tail for the boot area's greeting.
TEST_F(LinkTest, ImmediateRetryAfterAnInterruptedLoadWorksAgainstThePacedSimulator) {
    sim.WithProtocol([](CSimProtocol& p) { p.SetLine({.baudRate = 9600, .flowControl = 0}); });
    sim.SetPacing(true);
    std::vector<ProgramRecord> records;
    for (std::uint32_t i = 0; i < 4; ++i) {
        records.push_back({i * 256, Pattern(256, static_cast<std::uint8_t>(i))});
    }
    const Bytes bytes = ProgramFileBytes("TQ-20 A0", 1, records);
    {
        CLoadData file(ParseDataFile(bytes).file);
        auto interrupted = Open(file, 9600);
        interrupted->StartProgramLoad();
        const auto until = std::chrono::steady_clock::now() + 10s;
        while (sim.BytesSent() < 60 && std::chrono::steady_clock::now() < until) {
            std::this_thread::sleep_for(1ms);
        }
    }
    RecordingLoadOwner retryOwner;
    CLoadData file(ParseDataFile(bytes).file);
    ChannelConfig line;
    line.portName = sim.DevicePath();
    line.baudRate = 9600;
    CLoadLink retry(retryOwner, file, line);
    retry.StartProgramLoad();
    EXPECT_EQ(retryOwner.WaitForEnding(30s), LM_DONE);
}

}  // namespace
