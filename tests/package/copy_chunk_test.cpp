// Tests of the package copies at the edges of their copy chunk (UpdateCopyChunkSize): packing,
// extraction and the readme copy of files one byte short of, exactly at and just past one and two
// chunks, entries starting at offsets that are not chunk-aligned, and a package that ends inside
// an entry's second chunk. Real files in a fresh folder that is the current folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tests/support/test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

constexpr long Chunk = UpdateCopyChunkSize;

// Entries 0 to 5 lie around the chunk; entry 1 is odd-sized so that every later entry starts off
// the chunk grid. The rest are small.
long ChunkEdgeSize(int index) {
    switch (index) {
        case 0: return Chunk - 1;
        case 1: return 3;
        case 2: return Chunk;
        case 3: return Chunk + 1;
        case 4: return 2 * Chunk + 1;
        case 5: return 0;
        default: return 10 + index;
    }
}

Bytes Contents(int index, long size) {
    Bytes bytes(static_cast<size_t>(size));
    uint32_t state = 0x2545f491u * static_cast<uint32_t>(index + 3);
    for (auto& b : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        b = static_cast<unsigned char>(state);
    }
    return bytes;
}

class CopyChunkTest : public ::testing::Test {
protected:
    CopyChunkTest() : here(folder.path) {
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (IsReadmeEntry(i)) continue;
            EXPECT_TRUE(WriteFileBytes(folder.Join(UpdateFileName(i)), Contents(i, ChunkEdgeSize(i))));
        }
    }

    TempFolder folder;
    ScopedCurrentFolder here;
};

TEST_F(CopyChunkTest, PackedBytesAreTheLooseFilesAtChunkEdges) {
    ASSERT_TRUE(BuildUpdatePackage());
    Bytes package;
    ASSERT_TRUE(ReadFileBytes(folder.Join("update.dat"), &package));
    Bytes expected(UpdatePackageHeaderSize, 0);
    UpdatePackageHeader header{};
    for (int i = 0; i < UpdateFileCount; ++i) header.slots[i] = IsReadmeEntry(i) ? 0 : ChunkEdgeSize(i);
    EncodePackageHeader(header, expected.data());
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        Bytes contents = Contents(i, ChunkEdgeSize(i));
        expected.insert(expected.end(), contents.begin(), contents.end());
    }
    EXPECT_EQ(package.size(), expected.size());
    EXPECT_TRUE(package == expected);
}

TEST_F(CopyChunkTest, EveryEntryExtractsWholeFromUnalignedOffsets) {
    ASSERT_TRUE(BuildUpdatePackage());
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        const std::string target = folder.Join("out.bin");
        ASSERT_TRUE(WriteFileText(target, "an older file in the way"));
        bool packageFault = false;
        ASSERT_TRUE(ExtractPackageEntry(i, target.c_str(), packageFault)) << UpdateFileName(i);
        Bytes got;
        ASSERT_TRUE(ReadFileBytes(target, &got));
        EXPECT_EQ(got.size(), static_cast<size_t>(ChunkEdgeSize(i))) << UpdateFileName(i);
        EXPECT_TRUE(got == Contents(i, ChunkEdgeSize(i))) << UpdateFileName(i);
    }
}

TEST_F(CopyChunkTest, PackageEndingInsideTheSecondChunkIsAPackageFault) {
    ASSERT_TRUE(BuildUpdatePackage());
    Bytes package;
    ASSERT_TRUE(ReadFileBytes(folder.Join("update.dat"), &package));
    // Cut entry 4 (two chunks and a byte) in the middle of its second chunk.
    const int64_t offset = PackageEntryOffset([&] {
        UpdatePackageHeader header;
        DecodePackageHeader(package.data(), &header);
        return header;
    }(), 4);
    package.resize(static_cast<size_t>(offset + Chunk + Chunk / 2));
    ASSERT_TRUE(WriteFileBytes(folder.Join("update.dat"), package));

    const std::string target = folder.Join("kept.bin");
    ASSERT_TRUE(WriteFileText(target, "the installed file"));
    const std::vector<std::string> before = ListFolder(folder.path);
    bool packageFault = false;
    EXPECT_FALSE(ExtractPackageEntry(4, target.c_str(), packageFault));
    EXPECT_TRUE(packageFault);
    Bytes kept;
    ASSERT_TRUE(ReadFileBytes(target, &kept));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the installed file");
    EXPECT_EQ(ListFolder(folder.path), before);  // no temporary file left
    // The entries before the cut still extract whole.
    ASSERT_TRUE(ExtractPackageEntry(3, target.c_str(), packageFault));
    ASSERT_TRUE(ReadFileBytes(target, &kept));
    EXPECT_TRUE(kept == Contents(3, ChunkEdgeSize(3)));
}

TEST_F(CopyChunkTest, ReadmeCopiesOfChunkEdgeSizesAreExact) {
    for (long size : {Chunk - 1, Chunk, Chunk + 1, 2 * Chunk}) {
        const Bytes text = Contents(99, size);
        ASSERT_TRUE(WriteFileBytes(folder.Join("readme_eng.txt"), text));
        const std::string target = folder.Join("readme.txt");
        ASSERT_TRUE(InstallReadme("readme_eng.txt", "readme.txt"));
        Bytes got;
        ASSERT_TRUE(ReadFileBytes(target, &got));
        EXPECT_TRUE(got == text) << size;
    }
}

}  // namespace
