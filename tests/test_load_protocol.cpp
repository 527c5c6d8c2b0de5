#include <gtest/gtest.h>

#include "CLoadProtocol.h"
#include "LoaderFiles.h"
#include "SimProtocol.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// The loader's protocol talking to the simulated controller directly, without a line.
struct Conversation {
    std::vector<Bytes> requests;
    std::vector<LoadMessage> messages;
    int recordsTaken = 0;
};

Conversation Converse(CLoadProtocol& loader, CSimProtocol& printer, CLoadProtocol::Step step) {
    Conversation talk;
    for (int turn = 0; turn < 10000; ++turn) {
        talk.recordsTaken += step.recordTaken ? 1 : 0;
        talk.messages.insert(talk.messages.end(), step.messages.begin(), step.messages.end());
        Bytes reply;
        if (!step.request.empty()) {
            talk.requests.push_back(step.request);
            reply = printer.Feed(step.request).reply;
        }
        if (!step.awaitReply) {
            break;
        }
        step = reply.empty() ? loader.OnSilence() : loader.OnBytes(reply);
    }
    return talk;
}

DataFile Program(const std::vector<ProgramRecord>& records, const std::string& model = "TQ-20 A0") {
    return ParseDataFile(ProgramFileBytes(model, 100, records)).file;
}

DataFile Font(std::size_t size) {
    return ParseDataFile(FontFileBytes("any", Pattern(size, 9))).file;
}

TEST(LoadProtocol, OneRecordProgramRequestsInOrder) {
    const Bytes data = Pattern(16, 1);
    CLoadData file(Program({{0x000100, data, 0x1234, 0x55}}));
    CLoadProtocol loader(file);
    CSimProtocol printer;
    const Conversation talk = Converse(loader, printer, loader.StartProgramLoad());
    Bytes dataRequest{0x1E, 'e', 0x34, 0x12, 0x55};
    dataRequest.insert(dataRequest.end(), data.begin(), data.end());
    // Each request ends with the flag byte of the latest reply (the printer's is 01); A2 is 0,
    // so the address request clears bit 0; the last block-done adds bits 1 and 7.
    const std::vector<Bytes> expected{{0x1B, 'B', 'O', 'O', 'T'},   {0x0A},
                                      {0x1E, 'r', 'S', 0x01, 0x01}, {0x1E, 'a', 0x00, 0x01, 0x00},
                                      {0x1E, 'd', 16, 0, 0x01},     dataRequest,
                                      {0x1E, 'w', 'o', 'k', 0x83}};
    EXPECT_EQ(talk.requests, expected);
    EXPECT_EQ(talk.messages, (std::vector<LoadMessage>{LM_STATUS, LM_DONE}));
    EXPECT_EQ(talk.recordsTaken, 1);
    EXPECT_FALSE(loader.IsBusy());
    EXPECT_TRUE(std::equal(data.begin(), data.end(), printer.BootArea().Memory().begin() + 0x100));
}

TEST(LoadProtocol, ControllerCodeChoosesTheAnswer) {
    CLoadData file(Program({{0, Pattern(4, 1)}}));
    CLoadProtocol loader(file);
    CSimProtocol printer;
    printer.BootArea().Settings().controllerCode = 0xA1;
    const Conversation talk = Converse(loader, printer, loader.StartProgramLoad());
    ASSERT_GE(talk.requests.size(), 2u);
    EXPECT_EQ(talk.requests[1], Bytes{0x1A});
    EXPECT_EQ(talk.messages.back(), LM_DONE);
}

TEST(LoadProtocol, ProgramWithoutRecordsSendsNothing) {
    CLoadData file(Program({}));
    CLoadProtocol loader(file);
    const CLoadProtocol::Step step = loader.StartProgramLoad();
    EXPECT_TRUE(step.request.empty());
    EXPECT_FALSE(step.awaitReply);
    EXPECT_EQ(step.messages, std::vector<LoadMessage>{LM_NO_DATA});
    EXPECT_FALSE(loader.IsBusy());
}

struct FailureCase {
    const char* name;
    BootFault fault;
    bool font;
    std::vector<LoadMessage> messages;
};

TEST(LoadProtocol, EveryFailureEndsWithItsOwnNotification) {
    using K = BootFaultKind;
    const FailureCase cases[] = {
        {"controller A2", {K::ControllerCode, 'B'}, false, {LM_BAD_CONTROLLER}},
        {"other model", {K::Model, 'M'}, false, {LM_MODEL_MISMATCH}},
        {"model flag", {K::PacketFlag, 'M'}, false, {LM_STATUS, LM_BAD_PACKET}},
        {"model status", {K::Integrity, 'M'}, false, {LM_STATUS, LM_INTEGRITY}},
        {"model letters", {K::Letters, 'M'}, false, {LM_STATUS, LM_BAD_COMMAND}},
        {"open-block flag", {K::PacketFlag, 'r'}, false, {LM_STATUS, LM_BAD_PACKET}},
        {"open-block letters", {K::Letters, 'r'}, false, {LM_STATUS, LM_BAD_COMMAND}},
        {"address flag before echo", {K::PacketFlag, 'a'}, false, {LM_STATUS, LM_BAD_PACKET}},
        {"address echo", {K::AddressEcho, 'a'}, false, {LM_STATUS, LM_BAD_ADDRESS}},
        {"address letters", {K::Letters, 'a'}, false, {LM_STATUS, LM_BAD_COMMAND}},
        {"length flag", {K::PacketFlag, 'd'}, false, {LM_STATUS, LM_BAD_PACKET}},
        {"length echo", {K::SizeEcho, 'd'}, false, {LM_STATUS, LM_BAD_SIZE}},
        {"length letters", {K::Letters, 'd'}, false, {LM_STATUS, LM_BAD_COMMAND}},
        {"data status", {K::Integrity, 'e'}, false, {LM_STATUS, LM_INTEGRITY}},
        {"data check echo", {K::CheckEcho, 'e'}, false, {LM_STATUS, LM_BAD_BLOCK_CRC}},
        {"data echo", {K::DataEcho, 'e'}, false, {LM_STATUS, LM_BAD_ECHO}},
        {"block-done flag", {K::PacketFlag, 'w'}, false, {LM_STATUS, LM_BAD_PACKET}},
        {"block-done status", {K::Integrity, 'w'}, false, {LM_STATUS, LM_INTEGRITY}},
        {"block-done letters", {K::Letters, 'w'}, false, {LM_STATUS, LM_BAD_COMMAND}},
        {"silent boot", {K::Silence, 'B'}, false, {LM_TIMEOUT}},
        {"silent model", {K::Silence, 'M'}, false, {LM_TIMEOUT}},
        {"silent open-block", {K::Silence, 'r'}, false, {LM_STATUS, LM_TIMEOUT}},
        {"silent address", {K::Silence, 'a'}, false, {LM_STATUS, LM_TIMEOUT}},
        {"silent length", {K::Silence, 'd'}, false, {LM_STATUS, LM_TIMEOUT}},
        {"silent data", {K::Silence, 'e'}, false, {LM_STATUS, LM_TIMEOUT}},
        {"silent block-done", {K::Silence, 'w'}, false, {LM_STATUS, LM_TIMEOUT}},
        {"font: any model", {K::Model, 'M'}, true, {LM_STATUS, LM_STEP, LM_STEP, LM_DONE}},
        {"font: second address echo",
         {K::AddressEcho, 'a'},
         true,
         {LM_STATUS, LM_STEP, LM_BAD_ADDRESS}},
        {"font: data echo", {K::DataEcho, 'e'}, true, {LM_STATUS, LM_BAD_ECHO}},
        {"font: silent block-done", {K::Silence, 'w'}, true, {LM_STATUS, LM_STEP, LM_TIMEOUT}},
    };
    for (const FailureCase& c : cases) {
        CLoadData file(c.font ? Font(300) : Program({{0, Pattern(8, 1)}, {0x300, Pattern(8, 2)}}));
        CLoadProtocol loader(file);
        CSimProtocol printer;
        printer.BootArea().SetFault(c.fault);
        const auto start = c.font ? loader.StartFontLoad() : loader.StartProgramLoad();
        const Conversation talk = Converse(loader, printer, start);
        EXPECT_EQ(talk.messages, c.messages) << c.name;
        EXPECT_FALSE(loader.IsBusy()) << c.name;
        EXPECT_TRUE(loader.OnBytes(Bytes(300, 0x1E)).messages.empty())
            << c.name << ": a load ends once";
    }
}

TEST(LoadProtocol, FontTakesTheModelAndAddressFromThePrinter) {
    CLoadData file(Font(600));
    CLoadProtocol loader(file);
    CSimProtocol printer;
    printer.BootArea().Settings().fontStart = 0x0101F0;
    const Conversation talk = Converse(loader, printer, loader.StartFontLoad());
    EXPECT_EQ(file.Model(), "TQ-20 A0");
    EXPECT_EQ(talk.messages.back(), LM_DONE);
    // The first open-block carries bit 2; the first address request asks with 0, 0 and bit 0
    // cleared; the reply's address and bank bit give the first block its 16 bytes.
    EXPECT_EQ(talk.requests[2], (Bytes{0x1E, 'r', 'S', 0x01, 0x05}));
    EXPECT_EQ(talk.requests[3], (Bytes{0x1E, 'a', 0x00, 0x00, 0x00}));
    EXPECT_EQ(talk.requests[4], (Bytes{0x1E, 'd', 16, 0, 0x01}));
    // The next block's address request stays in bank 1: A2 is 1, so bit 0 is kept.
    EXPECT_EQ(talk.requests[8], (Bytes{0x1E, 'a', 0x00, 0x02, 0x01}));
    const auto& blocks = printer.BootArea().BlockAddresses();
    EXPECT_EQ(blocks, (std::vector<std::uint32_t>{0x0101F0, 0x010200, 0x010300, 0x010400}));
    const Bytes image = Pattern(600, 9);
    EXPECT_TRUE(
        std::equal(image.begin(), image.end(), printer.BootArea().Memory().begin() + 0x0101F0));
}

TEST(LoadProtocol, ModelReplyInTwoPartsIsOneReply) {
    CLoadData file(Program({{0, Pattern(4, 1)}}, "M1"));
    CLoadProtocol loader(file);
    loader.StartProgramLoad();
    ASSERT_EQ(loader.OnBytes(Bytes{0xA0}).request, Bytes{0x0A});
    const auto first = loader.OnBytes(Bytes{'M', '1', 0x00, 0x1E});
    EXPECT_TRUE(first.request.empty());
    EXPECT_TRUE(first.awaitReply) << "the watchdog restarts at each part";
    EXPECT_TRUE(first.messages.empty());
    const auto second = loader.OnBytes(Bytes{'S', 'M', 0x00, 0x01});
    EXPECT_EQ(second.messages, std::vector<LoadMessage>{LM_STATUS});
    EXPECT_EQ(second.request, (Bytes{0x1E, 'r', 'S', 0x01, 0x01}));
}

struct ShapeCase {
    const char* name;
    Bytes controllerReply;
    Bytes modelReply;
    LoadMessage ending;
};

TEST(LoadProtocol, RepliesThatDoNotFitEndTheLoad) {
    const ShapeCase cases[] = {
        // What a printer at another line speed answers: noise, as long as the request.
        {"five bytes for the controller code",
         {0x3C, 0x91, 0x07, 0xE2, 0x55},
         {},
         LM_BAD_BOOT_REPLY},
        {"two bytes for the controller code", {0xA0, 0x00}, {}, LM_BAD_BOOT_REPLY},
        {"six bytes after the model",
         {0xA0},
         {'M', '1', 0x00, 0x1E, 'S', 'M', 0x00, 0x01, 0x02},
         LM_BAD_COMMAND},
    };
    for (const ShapeCase& c : cases) {
        CLoadData file(Program({{0, Pattern(4, 1)}}, "M1"));
        CLoadProtocol loader(file);
        loader.StartProgramLoad();
        auto step = loader.OnBytes(c.controllerReply);
        if (!c.modelReply.empty()) {
            step = loader.OnBytes(c.modelReply);
        }
        EXPECT_EQ(step.messages, std::vector<LoadMessage>{c.ending}) << c.name;
        EXPECT_FALSE(loader.IsBusy()) << c.name;
    }
}

}  // namespace
