// file_stream_test.cpp: FileStream on real files: modes, byte orders, typed values, strings and
// the run-length coding, checked against the exact bytes on disk.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "framework/file_stream.h"
#include "framework/folder_path.h"
#include "tests/support/test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

// A temporary folder that is also the current one, so FolderPath starts there.
struct StreamFolder {
    TempFolder temp;
    ScopedCurrentFolder current{temp.path};
    FolderPath folder;

    Bytes Read(const std::string& name) {
        Bytes bytes;
        EXPECT_TRUE(ReadFileBytes(temp.Join(name), &bytes)) << name;
        return bytes;
    }
};

Bytes Packed(StreamFolder& place, const Bytes& plain) {
    FileStream stream;
    EXPECT_TRUE(stream.Open(&place.folder, "packed.bin", 0, BinaryWrite));
    for (unsigned char b : plain) EXPECT_TRUE(stream.WritePacked(b));
    stream.Close();
    return place.Read("packed.bin");
}

// Decodes `coded` with ReadPacked until it reports false.
Bytes Unpacked(StreamFolder& place, const Bytes& coded) {
    EXPECT_TRUE(WriteFileBytes(place.temp.Join("coded.bin"), coded));
    FileStream stream;
    EXPECT_TRUE(stream.Open(&place.folder, "coded.bin", 0, BinaryRead));
    Bytes plain;
    uint8_t value;
    while (stream.ReadPacked(&value)) plain.push_back(value);
    return plain;
}

}  // namespace

TEST(FileStreamPacking, CodingExamplesBothWays) {
    StreamFolder place;
    const std::vector<std::pair<Bytes, Bytes>> examples = {
        {Bytes(5, 0x20), {0xC5, 0x20}},
        {{0xC7}, {0xC1, 0xC7}},
        {{0x41}, {0x41}},
        {Bytes(100, 0x00), {0xFF, 0x00, 0xE5, 0x00}},
        {{0x41, 0x41, 0xBF, 0xC0}, {0xC2, 0x41, 0xBF, 0xC1, 0xC0}},
    };
    for (const auto& example : examples) {
        EXPECT_EQ(Packed(place, example.first), example.second);
        EXPECT_EQ(Unpacked(place, example.second), example.first);
    }
}

TEST(FileStreamPacking, ClosePendingRunAndDamagedMarker) {
    StreamFolder place;
    {
        FileStream stream;
        ASSERT_TRUE(stream.Open(&place.folder, "run.bin", 0, BinaryWrite));
        for (int i = 0; i < 3; ++i) stream.WritePacked(0x10);
        EXPECT_EQ(place.Read("run.bin").size(), 0u) << "the run is still pending";
        stream.Close();
    }
    EXPECT_EQ(place.Read("run.bin"), (Bytes{0xC3, 0x10}));
    {
        FileStream stream;
        ASSERT_TRUE(stream.Open(&place.folder, "destroyed.bin", 0, BinaryWrite));
        stream.WritePacked(0x33);
        stream.WritePacked(0x33);
    }
    EXPECT_EQ(place.Read("destroyed.bin"), (Bytes{0xC2, 0x33})) << "the destructor closes";

    // A marker of no bytes is a damaged file: nothing is delivered from it.
    EXPECT_EQ(Unpacked(place, {0x41, 0xC0, 0x42}), (Bytes{0x41}));
    // A marker without its value byte.
    EXPECT_EQ(Unpacked(place, {0x41, 0xC4}), (Bytes{0x41}));
}

TEST(FileStreamPacking, OnlyTheirOwnModes) {
    StreamFolder place;
    ASSERT_TRUE(WriteFileBytes(place.temp.Join("data.bin"), {0x41, 0x42}));
    FileStream stream;
    ASSERT_TRUE(stream.Open(&place.folder, "data.bin", 0, BinaryAppend));
    uint8_t value = 0;
    EXPECT_FALSE(stream.ReadPacked(&value));
    EXPECT_FALSE(stream.WritePacked(0x41));
    stream.Close();
    ASSERT_TRUE(stream.Open(&place.folder, "data.bin", 0, BinaryRead));
    EXPECT_FALSE(stream.WritePacked(0x41));
    stream.Close();
    EXPECT_EQ(place.Read("data.bin"), (Bytes{0x41, 0x42}));
}

TEST(FileStreamHeader, ByteOrderKeptInTheFirstByte) {
    StreamFolder place;
    {
        FileStream stream;
        ASSERT_TRUE(stream.OpenWithHeader(&place.folder, "little.bin", BinaryWrite));
        EXPECT_EQ(stream.Tell(), 1);
        EXPECT_TRUE(stream.Write32(uint32_t{0x11223344}));
    }
    EXPECT_EQ(place.Read("little.bin"), (Bytes{0x00, 0x44, 0x33, 0x22, 0x11}));

    ASSERT_TRUE(WriteFileBytes(place.temp.Join("big.bin"), {0x02, 0x11, 0x22, 0x33, 0x44, 0xAB, 0xCD}));
    FileStream stream;
    EXPECT_FALSE(stream.OpenWithHeader(&place.folder, "big.bin", BinaryAppend));
    EXPECT_TRUE(stream.AtEnd()) << "the refused stream is closed";
    EXPECT_FALSE(stream.Write8(uint8_t{1}));
    EXPECT_FALSE(stream.Open(&place.folder, "big.bin", 2, BinaryAppend));
    EXPECT_EQ(place.Read("big.bin").size(), 7u) << "a refused append changes nothing";
    ASSERT_TRUE(stream.OpenWithHeader(&place.folder, "big.bin", BinaryRead));
    uint32_t value = 0;
    ASSERT_TRUE(stream.Read32(&value));
    EXPECT_EQ(value, 0x11223344u);
    int16_t half = 0;
    ASSERT_TRUE(stream.Read16(&half));
    EXPECT_EQ(static_cast<uint16_t>(half), 0xABCDu);
    stream.Close();

    // BinaryAppend with a zero header reads it and then writes at the end.
    ASSERT_TRUE(stream.OpenWithHeader(&place.folder, "little.bin", BinaryAppend));
    EXPECT_TRUE(stream.Write8(uint8_t{0x55}));
    stream.Close();
    EXPECT_EQ(place.Read("little.bin"), (Bytes{0x00, 0x44, 0x33, 0x22, 0x11, 0x55}));
}

TEST(FileStreamValues, BigEndianWritesAndReadsSwapped) {
    StreamFolder place;
    {
        FileStream stream;
        ASSERT_TRUE(stream.Open(&place.folder, "values.bin", 2, BinaryWrite));
        EXPECT_TRUE(stream.Write8(int8_t{-2}));
        EXPECT_TRUE(stream.Write16(uint16_t{0x1234}));
        EXPECT_TRUE(stream.Write16(int16_t{-2}));
        EXPECT_TRUE(stream.Write32(int32_t{0x01020304}));
        uint16_t array[3] = {0x0102, 0x0304, 0xA0B0};
        EXPECT_TRUE(stream.Write16Array(array, 3));
        EXPECT_EQ(array[0], 0x0102);
        EXPECT_EQ(array[1], 0x0304);
        EXPECT_EQ(array[2], 0xA0B0) << "the caller's array is unchanged";
    }
    EXPECT_EQ(place.Read("values.bin"), (Bytes{0xFE, 0x12, 0x34, 0xFF, 0xFE, 0x01, 0x02, 0x03, 0x04, 0x01, 0x02,
                                              0x03, 0x04, 0xA0, 0xB0}));
    FileStream stream;
    ASSERT_TRUE(stream.Open(&place.folder, "values.bin", 2, BinaryRead));
    int8_t small = 0;
    uint16_t word = 0;
    int16_t negative = 0;
    int32_t whole = 0;
    uint16_t array[3] = {};
    EXPECT_TRUE(stream.Read8(&small));
    EXPECT_TRUE(stream.Read16(&word));
    EXPECT_TRUE(stream.Read16(&negative));
    EXPECT_TRUE(stream.Read32(&whole));
    EXPECT_TRUE(stream.Read16Array(array, 3));
    EXPECT_EQ(small, -2);
    EXPECT_EQ(word, 0x1234);
    EXPECT_EQ(negative, -2);
    EXPECT_EQ(whole, 0x01020304);
    EXPECT_EQ(array[2], 0xA0B0);
    EXPECT_FALSE(stream.Read8(&small)) << "nothing is left";
    EXPECT_TRUE(stream.AtEnd());
}

TEST(FileStreamValues, LittleEndianAndShortReads) {
    StreamFolder place;
    ASSERT_TRUE(WriteFileBytes(place.temp.Join("short.bin"), {0x78, 0x56, 0x34, 0x12, 0xAA, 0xBB, 0xCC}));
    FileStream stream;
    ASSERT_TRUE(stream.Open(&place.folder, "short.bin", 0, BinaryRead));
    uint32_t value = 0;
    EXPECT_TRUE(stream.Read32(&value));
    EXPECT_EQ(value, 0x12345678u);
    unsigned char block[5] = {0, 0, 0, 0, 0};
    EXPECT_FALSE(stream.ReadBytes(block, 5));
    EXPECT_EQ(block[0], 0xAA);
    EXPECT_EQ(block[2], 0xCC) << "a short read leaves what it read";
    EXPECT_EQ(block[3], 0);

    stream.Seek(-3, true);
    EXPECT_EQ(stream.Tell(), 4);
    stream.Seek(1, false);
    uint16_t word = 0;
    EXPECT_TRUE(stream.Read16(&word));
    EXPECT_EQ(word, 0x3456);
}

TEST(FileStreamModes, EachModeAllowsOnlyItsOperations) {
    StreamFolder place;
    ASSERT_TRUE(WriteFileText(place.temp.Join("text.txt"), "ab"));
    FileStream stream;
    ASSERT_TRUE(stream.Open(&place.folder, "text.txt", 0, TextRead));
    uint8_t byte;
    EXPECT_FALSE(stream.Read8(&byte));
    EXPECT_FALSE(stream.Write8(uint8_t{1}));
    EXPECT_EQ(stream.GetChar(), 'a');
    EXPECT_EQ(stream.GetChar(), 'b');
    EXPECT_EQ(stream.GetChar(), -1);
    stream.Close();

    ASSERT_TRUE(stream.Open(&place.folder, "out.txt", 0, TextWrite));
    stream.Print("%s %d", "Version", 3);
    EXPECT_EQ(stream.GetChar(), -1);
    EXPECT_FALSE(stream.WriteString("x"));
    stream.Close();
    std::vector<unsigned char> text;
    ASSERT_TRUE(ReadFileBytes(place.temp.Join("out.txt"), &text));
    EXPECT_EQ(std::string(text.begin(), text.end()), "Version 3");

    ASSERT_TRUE(stream.Open(&place.folder, "text.txt", 0, BinaryRead));
    EXPECT_FALSE(stream.Write8(uint8_t{1}));
    EXPECT_EQ(stream.GetChar(), -1);
    stream.Print("nothing");
    stream.Close();
    EXPECT_EQ(place.Read("text.txt"), (Bytes{'a', 'b'}));

    EXPECT_FALSE(stream.Open(&place.folder, "text.txt", 0, static_cast<FileMode>(5)));
    EXPECT_FALSE(stream.Open(&place.folder, "missing.txt", 0, BinaryRead));
    EXPECT_FALSE(stream.Open(nullptr, "text.txt", 0, BinaryRead));
    EXPECT_TRUE(stream.AtEnd());
}

TEST(FileStreamModes, ClosedStreamFailsQuietly) {
    FileStream stream;
    uint32_t value = 7;
    EXPECT_FALSE(stream.Read32(&value));
    EXPECT_EQ(value, 7u);
    EXPECT_FALSE(stream.Write32(value));
    EXPECT_FALSE(stream.WriteString("x"));
    EXPECT_FALSE(stream.WritePacked(1));
    EXPECT_EQ(stream.Tell(), -1);
    EXPECT_EQ(stream.GetChar(), -1);
    EXPECT_TRUE(stream.AtEnd());
    stream.Seek(3, false);  // and nothing breaks
    stream.Close();
}

TEST(FileStreamStrings, WrittenAndReadBackWithinCapacity) {
    StreamFolder place;
    {
        FileStream stream;
        ASSERT_TRUE(stream.Open(&place.folder, "strings.bin", 0, BinaryWrite));
        EXPECT_TRUE(stream.WriteString("Tallyfield"));
        EXPECT_TRUE(stream.WriteString(""));
        EXPECT_TRUE(stream.WriteString("longer text"));
        EXPECT_TRUE(stream.WriteBytes("tail", 4));
    }
    FileStream stream;
    ASSERT_TRUE(stream.Open(&place.folder, "strings.bin", 0, BinaryRead));
    char buffer[8];
    std::memset(buffer, 'X', sizeof(buffer));
    char big[32];
    EXPECT_TRUE(stream.ReadString(big, sizeof(big)));
    EXPECT_STREQ(big, "Tallyfield");
    EXPECT_TRUE(stream.ReadString(big, sizeof(big)));
    EXPECT_STREQ(big, "");
    EXPECT_FALSE(stream.ReadString(buffer, 5));
    EXPECT_STREQ(buffer, "long");
    EXPECT_EQ(buffer[5], 'X') << "nothing written past the capacity";
    EXPECT_TRUE(stream.ReadString(big, sizeof(big)));
    EXPECT_STREQ(big, "er text");
    EXPECT_TRUE(stream.ReadString(big, sizeof(big))) << "text up to the end of the file is a whole string";
    EXPECT_STREQ(big, "tail");
    EXPECT_FALSE(stream.ReadString(big, sizeof(big)));
    EXPECT_FALSE(stream.ReadString(big, 0));
}

TEST(FileStreamModes, AppendReadsAndWritesAtTheEnd) {
    StreamFolder place;
    ASSERT_TRUE(WriteFileBytes(place.temp.Join("log.bin"), {0x01, 0x00, 0x02, 0x00}));
    {
        FileStream stream;
        ASSERT_TRUE(stream.Open(&place.folder, "log.bin", 0, BinaryAppend));
        uint16_t values[2] = {};
        EXPECT_TRUE(stream.Read16Array(values, 2));
        EXPECT_EQ(values[0], 1);
        EXPECT_EQ(values[1], 2);
        int16_t more[2] = {-1, 3};
        EXPECT_TRUE(stream.Write16Array(more, 2));
        EXPECT_TRUE(stream.WriteString("ok"));
        stream.Seek(0, false);
        EXPECT_TRUE(stream.WriteBytes("Z", 1)) << "appending writes go to the end whatever the position";
    }
    EXPECT_EQ(place.Read("log.bin"), (Bytes{0x01, 0x00, 0x02, 0x00, 0xFF, 0xFF, 0x03, 0x00, 'o', 'k', 0x00, 'Z'}));
}
