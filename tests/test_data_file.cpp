#include <gtest/gtest.h>

#include <random>

#include "CLoadData.h"
#include "Crc16Arc.h"
#include "DataFile.h"
#include "LoaderFiles.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct FileCase {
    const char* name;
    Bytes bytes;
    DataFileStatus status;
};

TEST(DataFile, AcceptsWellFormedFilesAndRefusesTheRest) {
    const Bytes oneRecord = ProgramFileBytes("TQ", 1, {{0x000100, Pattern(16, 1)}});
    Bytes longRecord = ProgramFileBytes("TQ", 1, {{0, Pattern(256, 1)}});
    longRecord[9 + 4] = 0x01;  // length 257
    longRecord[9 + 3] = 0x01;
    const Bytes noTerminator = Concat({'M', 'y', 'B', 'I', 'N'}, Bytes(300, 'A'));
    Bytes bank2 = oneRecord;
    bank2[10 + 2] = 0x02;  // address byte 2 of the first record: beyond the bank bit
    const FileCase cases[] = {
        {"program", oneRecord, DataFileStatus::Ok},
        {"font", FontFileBytes("x", Pattern(600, 2)), DataFileStatus::Ok},
        {"program without records", ProgramFileBytes("TQ", 1, {}), DataFileStatus::Ok},
        {"254-character model", ProgramFileBytes(std::string(254, 'M'), 1, {}), DataFileStatus::Ok},
        {"lower-case magic", Concat({'m', 'y', 'b', 'i', 'n'}, Bytes(20, 0)),
         DataFileStatus::BadMagic},
        {"shorter than the magic", {'M', 'y', 'B'}, DataFileStatus::BadMagic},
        {"empty", {}, DataFileStatus::BadMagic},
        {"model without its zero", noTerminator, DataFileStatus::Malformed},
        {"255-character model", ProgramFileBytes(std::string(255, 'M'), 1, {}),
         DataFileStatus::Malformed},
        {"progress value cut off", {'M', 'y', 'B', 'I', 'N', 'T', 0, 1}, DataFileStatus::Malformed},
        {"record header cut short", Bytes(oneRecord.begin(), oneRecord.begin() + 12),
         DataFileStatus::Malformed},
        {"record data cut short", Bytes(oneRecord.begin(), oneRecord.end() - 1),
         DataFileStatus::Malformed},
        {"record longer than a block", longRecord, DataFileStatus::Malformed},
        {"empty font image", FontFileBytes("x", {}), DataFileStatus::Malformed},
        {"record in a bank the protocol cannot name", bank2, DataFileStatus::Malformed},
        {"record at the top of bank 1", ProgramFileBytes("TQ", 1, {{0x01FF00, Pattern(256, 1)}}),
         DataFileStatus::Ok},
        {"record running past the top of bank 1",
         ProgramFileBytes("TQ", 1, {{0x01FFF0, Pattern(32, 1)}}), DataFileStatus::Malformed},
        {"font as large as the address space", FontFileBytes("x", Bytes(kAddressSpace)),
         DataFileStatus::Ok},
        {"font larger than the address space", FontFileBytes("x", Bytes(kAddressSpace + 1)),
         DataFileStatus::Malformed},
    };
    for (const FileCase& c : cases) {
        EXPECT_EQ(ParseDataFile(c.bytes).status, c.status) << c.name;
    }
}

TEST(DataFile, HeaderFields) {
    // Model "Q": header length 9, progress value at offsets 7 and 8.
    const Bytes bytes = ProgramFileBytes("Q", 0x1234, {{0x10203, Pattern(4, 3)}});
    const DataFileResult read = ParseDataFile(bytes);
    ASSERT_EQ(read.status, DataFileStatus::Ok);
    EXPECT_EQ(read.file.model, "Q");
    EXPECT_EQ(read.file.progressValue, 0x1234);
    EXPECT_EQ(read.file.payload, Bytes(bytes.begin() + 9, bytes.end()));
    EXPECT_TRUE(ParseDataFile(FontFileBytes("F", Bytes(10))).file.model.empty());
}

TEST(DataFile, ReadsFromDisk) {
    const TempFile file("p.bin", ProgramFileBytes("TQ", 1, {}));
    EXPECT_EQ(ReadDataFile(file.Path()).status, DataFileStatus::Ok);
    EXPECT_EQ(ReadDataFile(file.Path() + ".missing").status, DataFileStatus::CannotOpen);
}

TEST(LoadData, TakesRecordsInOrder) {
    const Bytes a = Pattern(16, 4);
    const auto read =
        ParseDataFile(ProgramFileBytes("TQ", 1, {{0x000100, a, 0xBEEF, 7}, {0x010200, {}}}));
    CLoadData data(read.file);
    LoadBlock block;
    ASSERT_TRUE(data.TakeNextRecord(block));
    EXPECT_EQ(block.length, 16);
    EXPECT_EQ(block.Address(), 0x000100u);
    EXPECT_EQ(block.header[5], 0xEF);
    EXPECT_EQ(block.header[6], 0xBE);
    EXPECT_EQ(block.header[7], 7);
    EXPECT_TRUE(std::equal(a.begin(), a.end(), block.data.begin()));
    EXPECT_EQ(data.Taken(), 8u + 16u);
    ASSERT_TRUE(data.TakeNextRecord(block)) << "a record of length 0 is still a record";
    EXPECT_EQ(block.length, 0);
    EXPECT_EQ(block.Address(), 0x010200u);
    EXPECT_EQ(data.Taken(), data.PayloadSize()) << "the progress moves for an empty record too";
    EXPECT_FALSE(data.TakeNextRecord(block));
    EXPECT_TRUE(data.PayloadEmpty());
}

struct CutCase {
    const char* name;
    std::size_t image;
    std::uint32_t start;
    std::vector<int> lengths;
    std::vector<std::uint32_t> addresses;  // after each cut
};

TEST(LoadData, CutsFontBlocksAtPageBoundaries) {
    const CutCase cases[] = {
        {"aligned 600 bytes", 600, 0x0100, {256, 256, 88}, {0x0200, 0x0300, 0x0358}},
        {"first block to the boundary", 300, 0x01F0, {16, 256, 28}, {0x0200, 0x0300, 0x031C}},
        {"bank 1", 20, 0x0101F0, {16, 4}, {0x010200, 0x010204}},
        {"image shorter than the first block", 100, 0x0100, {100}, {0x0164}},
    };
    for (const CutCase& c : cases) {
        const Bytes image = Pattern(c.image, 5);
        CLoadData data(ParseDataFile(FontFileBytes("F", image)).file);
        LoadBlock block;
        block.header[0] = c.start & 0xFF;
        block.header[1] = (c.start >> 8) & 0xFF;
        block.header[2] = (c.start >> 16) & 0xFF;
        std::size_t offset = 0;
        for (std::size_t i = 0; i < c.lengths.size(); ++i) {
            data.CutFontBlock(block, i == 0);
            EXPECT_EQ(block.length, c.lengths[i]) << c.name << " block " << i;
            EXPECT_EQ(block.Address(), c.addresses[i]) << c.name << " block " << i;
            const std::span<const std::uint8_t> cut(image.data() + offset, block.length);
            EXPECT_TRUE(std::equal(cut.begin(), cut.end(), block.data.begin())) << c.name;
            EXPECT_EQ(block.header[5] | block.header[6] << 8, Crc16Arc(cut)) << c.name;
            offset += static_cast<std::size_t>(block.length);
            EXPECT_EQ(data.Taken(), offset) << c.name << " block " << i;
        }
        EXPECT_TRUE(data.PayloadEmpty()) << c.name;
    }
}

// Bit by bit, straight from the definition, to check the table-driven one against.
std::uint16_t BitwiseCrc16Arc(const Bytes& bytes) {
    std::uint16_t crc = 0;
    for (std::uint8_t b : bytes) {
        for (int bit = 0; bit < 8; ++bit) {
            const bool mix = ((crc ^ (b >> bit)) & 1) != 0;
            crc = static_cast<std::uint16_t>(crc >> 1);
            if (mix) {
                crc ^= 0xA001;
            }
        }
    }
    return crc;
}

TEST(Crc16Arc, CheckValueAndRandomBlocks) {
    const Bytes check{'1', '2', '3', '4', '5', '6', '7', '8', '9'};
    EXPECT_EQ(Crc16Arc(check), 0xBB3D);
    EXPECT_EQ(Crc16Arc({}), 0);
    std::mt19937 random(20261209);
    for (int i = 0; i < 200; ++i) {
        Bytes block(random() % 257);
        for (auto& b : block) {
            b = static_cast<std::uint8_t>(random());
        }
        EXPECT_EQ(Crc16Arc(block), BitwiseCrc16Arc(block)) << block.size() << " bytes";
    }
}

}  // namespace
