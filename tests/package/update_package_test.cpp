// Tests of "update.dat": the byte layout pack mode writes, extraction of every entry, the package
// check, and that no failure damages an existing package or destination or leaves a temporary
// file behind. Everything runs on real files in a fresh folder that is the current folder.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tests/support/test_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

// Sizes chosen around the 64 KiB copy chunk, with empty files, and one entry over 1 MiB.
long SampleSize(int index) {
    switch (index) {
        case 0: return 1100000;
        case 1: return 0;
        case 2: return 65535;
        case 3: return 65536;
        case 4: return 65537;
        case 5: return 131072;
        case 45: return 0;
        default: return 100 + index * 37;
    }
}

// Distinct contents per entry, so that a slice taken from the wrong offset shows.
Bytes SampleContents(int index) {
    Bytes bytes(static_cast<size_t>(SampleSize(index)));
    uint32_t state = 0x9e3779b9u * static_cast<uint32_t>(index + 1);
    for (auto& b : bytes) {
        state = state * 1664525u + 1013904223u;
        b = static_cast<unsigned char>(state >> 24);
    }
    return bytes;
}

class UpdatePackageTest : public ::testing::Test {
protected:
    UpdatePackageTest() : here(folder.path) {}

    void WriteLooseFiles() {
        for (int i = 0; i < UpdateFileCount; ++i)
            if (!IsReadmeEntry(i)) {
                ASSERT_TRUE(WriteFileBytes(folder.Join(UpdateFileName(i)), SampleContents(i)));
            }
    }

    Bytes Package() {
        Bytes bytes;
        EXPECT_TRUE(ReadFileBytes(folder.Join("update.dat"), &bytes));
        return bytes;
    }

    void WritePackage(const Bytes& bytes) { ASSERT_TRUE(WriteFileBytes(folder.Join("update.dat"), bytes)); }

    // The package as the format defines it, built independently of the packer.
    static Bytes ExpectedPackage() {
        Bytes bytes;
        for (int i = 0; i < UpdateFileCount; ++i) {
            uint32_t size = IsReadmeEntry(i) ? 0 : static_cast<uint32_t>(SampleSize(i));
            for (int b = 0; b < 4; ++b) bytes.push_back(static_cast<unsigned char>(size >> (8 * b)));
        }
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (IsReadmeEntry(i)) continue;
            Bytes contents = SampleContents(i);
            bytes.insert(bytes.end(), contents.begin(), contents.end());
        }
        return bytes;
    }

    TempFolder folder;
    ScopedCurrentFolder here;
};

TEST_F(UpdatePackageTest, PackWritesLittleEndianSlotsThenContentsInTableOrder) {
    // A loose "readme.txt" is neither needed nor packed; an existing package is replaced.
    WriteLooseFiles();
    ASSERT_TRUE(WriteFileText(folder.Join("readme.txt"), "must not be packed"));
    WritePackage(Bytes(5000, 0xAA));
    ASSERT_TRUE(BuildUpdatePackage());
    EXPECT_TRUE(Package() == ExpectedPackage());
    // Nothing but the loose files, the package and its checksum list: no temporary file stays.
    EXPECT_EQ(ListFolder(folder.path).size(), static_cast<size_t>(UpdateFileCount) + 2);
}

TEST_F(UpdatePackageTest, AMissingLooseFileFailsBeforeThePackageIsCreatedOrChanged) {
    WriteLooseFiles();
    ASSERT_TRUE(std::remove(folder.Join("changes.txt").c_str()) == 0);
    std::vector<std::string> before = ListFolder(folder.path);
    EXPECT_FALSE(BuildUpdatePackage());
    EXPECT_EQ(ListFolder(folder.path), before);

    const Bytes old = {1, 2, 3, 4, 5};
    WritePackage(old);
    before = ListFolder(folder.path);
    EXPECT_FALSE(BuildUpdatePackage());
    EXPECT_TRUE(Package() == old);
    EXPECT_EQ(ListFolder(folder.path), before);
}

TEST_F(UpdatePackageTest, EveryEntryExtractsToItsLooseFile) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        bool packageFault = false;
        std::string target = folder.Join(std::string("out_") + UpdateFileName(i));
        ASSERT_TRUE(ExtractPackageEntry(i, target.c_str(), packageFault)) << UpdateFileName(i);
        Bytes got;
        ASSERT_TRUE(ReadFileBytes(target, &got));
        EXPECT_TRUE(got == SampleContents(i)) << UpdateFileName(i);
    }
}

TEST_F(UpdatePackageTest, OffsetsSkipSlot44WhateverItHolds) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    Bytes package = Package();
    for (uint32_t junk : {0x7fffffffu, 0x80000000u, 0xffffffffu, 12345u}) {
        for (int b = 0; b < 4; ++b) package[4 * UpdatePackageReadmeSlot + b] = static_cast<unsigned char>(junk >> (8 * b));
        WritePackage(package);
        EXPECT_TRUE(CheckUpdatePackage());
        for (int index : {45, 46}) {
            bool packageFault = false;
            std::string target = folder.Join("late_entry");
            ASSERT_TRUE(ExtractPackageEntry(index, target.c_str(), packageFault));
            Bytes got;
            ASSERT_TRUE(ReadFileBytes(target, &got));
            EXPECT_TRUE(got == SampleContents(index)) << "entry " << index << " slot 44 " << junk;
        }
    }
}

TEST_F(UpdatePackageTest, PackageEndingEarlyIsAPackageFaultAndKeepsTheDestination) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    Bytes package = Package();
    package.pop_back();
    WritePackage(package);
    std::string target = folder.Join("fancluburls_installed.txt");
    ASSERT_TRUE(WriteFileText(target, "the old file"));
    std::vector<std::string> before = ListFolder(folder.path);

    bool packageFault = false;
    EXPECT_FALSE(ExtractPackageEntry(46, target.c_str(), packageFault));
    EXPECT_TRUE(packageFault);
    Bytes kept;
    ASSERT_TRUE(ReadFileBytes(target, &kept));
    EXPECT_EQ(std::string(kept.begin(), kept.end()), "the old file");
    EXPECT_EQ(ListFolder(folder.path), before);

    // No package at all is a package fault too.
    std::remove(folder.Join("update.dat").c_str());
    packageFault = false;
    EXPECT_FALSE(ExtractPackageEntry(0, target.c_str(), packageFault));
    EXPECT_TRUE(packageFault);
    EXPECT_FALSE(CheckUpdatePackage());
}

TEST_F(UpdatePackageTest, DestinationInAMissingFolderIsADestinationFault) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    bool packageFault = true;
    std::string target = folder.Join("no_such_folder") + "/tlf.exe";
    EXPECT_FALSE(ExtractPackageEntry(0, target.c_str(), packageFault));
    EXPECT_FALSE(packageFault);
}

TEST_F(UpdatePackageTest, ReadOnlyDestinationIsReplaced) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    std::string target = folder.Join("installed_euro.cfg");
    ASSERT_TRUE(WriteFileText(target, "old"));
    std::filesystem::permissions(target, std::filesystem::perms::owner_write | std::filesystem::perms::group_write |
                                             std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);
    bool packageFault = false;
    ASSERT_TRUE(ExtractPackageEntry(1, target.c_str(), packageFault));
    Bytes got;
    ASSERT_TRUE(ReadFileBytes(target, &got));
    EXPECT_TRUE(got == SampleContents(1));
}

TEST_F(UpdatePackageTest, CheckRefusesEveryTruncationAndDamagedSlots) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    const Bytes whole = Package();
    EXPECT_TRUE(CheckUpdatePackage());

    // Every length inside the header, around each entry boundary, and a sample of the rest.
    std::vector<size_t> lengths;
    for (size_t n = 0; n < static_cast<size_t>(UpdatePackageHeaderSize) + 2; ++n) lengths.push_back(n);
    UpdatePackageHeader header;
    DecodePackageHeader(whole.data(), &header);
    for (int i = 1; i <= UpdateFileCount; ++i) {
        size_t boundary = static_cast<size_t>(PackageEntryOffset(header, i));
        for (size_t n : {boundary - 1, boundary, boundary + 1})
            if (n < whole.size()) lengths.push_back(n);
    }
    for (size_t n = 0; n < whole.size(); n += whole.size() / 97) lengths.push_back(n);
    for (size_t n : lengths) {
        WritePackage(Bytes(whole.begin(), whole.begin() + static_cast<long>(n)));
        EXPECT_FALSE(CheckUpdatePackage()) << "length " << n;
    }

    // Negative slots, and slots whose sum is far beyond the file.
    for (int slot : {0, 17, 43, 45, 46}) {
        for (uint32_t value : {0x80000000u, 0xffffffffu, 0x7fffffffu}) {
            Bytes damaged = whole;
            for (int b = 0; b < 4; ++b) damaged[4 * slot + b] = static_cast<unsigned char>(value >> (8 * b));
            WritePackage(damaged);
            EXPECT_FALSE(CheckUpdatePackage()) << "slot " << slot << " value " << value;
        }
    }
}

TEST_F(UpdatePackageTest, NegativeSlotIsAPackageFaultOnExtraction) {
    WriteLooseFiles();
    ASSERT_TRUE(BuildUpdatePackage());
    Bytes package = Package();
    for (int b = 0; b < 4; ++b) package[4 * 3 + b] = 0xff;
    WritePackage(package);
    for (int index : {3, 10}) {
        bool packageFault = false;
        EXPECT_FALSE(ExtractPackageEntry(index, folder.Join("x").c_str(), packageFault));
        EXPECT_TRUE(packageFault);
        EXPECT_FALSE(FileExists(folder.Join("x")));
    }
}

TEST_F(UpdatePackageTest, ReadmeIsCopiedAndTheSourceStays) {
    ASSERT_TRUE(WriteFileText(folder.Join("readme_eng.txt"), "new readme"));
    ASSERT_TRUE(MakeFolder(folder.Join("game")));
    std::string target = folder.Join("game") + "/readme.txt";
    ASSERT_TRUE(WriteFileText(target, "old readme"));
    ASSERT_TRUE(InstallReadme("readme_eng.txt", target.c_str()));
    Bytes got;
    ASSERT_TRUE(ReadFileBytes(target, &got));
    EXPECT_EQ(std::string(got.begin(), got.end()), "new readme");
    EXPECT_TRUE(FileExists(folder.Join("readme_eng.txt")));
    EXPECT_EQ(ListFolder(folder.Join("game")), std::vector<std::string>{"readme.txt"});
    EXPECT_FALSE(InstallReadme("readme_missing.txt", target.c_str()));
}

TEST(PackageOffsets, EntryOffsetIs188PlusTheSlotsBeforeItWithoutSlot44) {
    UpdatePackageHeader header{};
    for (int i = 0; i < UpdateFileCount; ++i) header.slots[i] = 10;
    header.slots[0] = 1000;
    header.slots[1] = 20;
    header.slots[UpdatePackageReadmeSlot] = 999999;
    EXPECT_EQ(PackageEntryOffset(header, 0), 188);
    EXPECT_EQ(PackageEntryOffset(header, 1), 1188);
    EXPECT_EQ(PackageEntryOffset(header, 2), 1208);
    EXPECT_EQ(PackageEntryOffset(header, 45), 1208 + 42 * 10);
    header.slots[7] = -1;
    EXPECT_EQ(PackageEntryOffset(header, 7), PackageEntryOffset(header, 6) + 10);
    EXPECT_EQ(PackageEntryOffset(header, 8), -1);
}

}  // namespace
