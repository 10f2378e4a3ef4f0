// platform_files_test.cpp: the file and folder services of the platform, on real files, with the
// behaviour the installer relies on being the same on Windows and on Linux.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "tests/support/test_files.h"

namespace {

// The installer's own way of joining: a backslash, whatever the system.
std::string GameJoin(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

std::vector<std::string> ListPattern(const std::string& pattern, std::vector<uint32_t>* attributes = nullptr) {
    std::vector<std::string> names;
    PlatformFindData data;
    intptr_t handle = PlatformFindFirst(pattern.c_str(), &data);
    if (handle == -1) return names;
    do {
        names.push_back(data.name);
        if (attributes) attributes->push_back(data.attrib);
    } while (PlatformFindNext(handle, &data) == 0);
    PlatformFindClose(handle);
    return names;
}

bool Contains(const std::vector<std::string>& names, const std::string& name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

bool IsReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none;
}

void MakeReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

}  // namespace

TEST(PlatformFiles, OpenReadsAndWritesThroughGamePaths) {
    TempFolder folder;
    ASSERT_TRUE(MakeFolder(folder.Join("Data")));
    FILE* out = PlatformOpenFile(GameJoin(GameJoin(folder.path, "data"), "Teams.dat").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::fwrite("abc", 1, 3, out), 3u);
    EXPECT_EQ(PlatformFileSize(out), 3);
    std::fclose(out);

    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadFileBytes(folder.Join("Data") + "/Teams.dat", &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");

    FILE* in = PlatformOpenFile(GameJoin(folder.path, "DATA\\TEAMS.DAT").c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(std::fgetc(in), 'a');
    EXPECT_EQ(PlatformFileSize(in), 3);
    EXPECT_EQ(std::fgetc(in), 'b') << "telling the size must not move the position";
    std::fclose(in);
    EXPECT_EQ(PlatformOpenFile(GameJoin(folder.path, "missing.dat").c_str(), "rb"), nullptr);
    EXPECT_EQ(PlatformFileSize(nullptr), -1);
}

TEST(PlatformFiles, RemoveDeletesFilesButNeverFolders) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileText(folder.Join("old.dat"), "x"));
    ASSERT_TRUE(MakeFolder(folder.Join("empty")));
    EXPECT_EQ(PlatformRemoveFile(GameJoin(folder.path, "OLD.DAT").c_str()), 0);
    EXPECT_FALSE(FileExists(folder.Join("old.dat")));
    EXPECT_EQ(PlatformRemoveFile(GameJoin(folder.path, "old.dat").c_str()), -1);
    EXPECT_EQ(PlatformRemoveFile(GameJoin(folder.path, "empty").c_str()), -1);
    EXPECT_TRUE(FileExists(folder.Join("empty")));
}

TEST(PlatformFiles, MakeWritableClearsReadOnly) {
    TempFolder folder;
    ASSERT_TRUE(WriteFileText(folder.Join("locked.dat"), "x"));
    MakeReadOnly(folder.Join("locked.dat"));
    ASSERT_TRUE(IsReadOnly(folder.Join("locked.dat")));
    EXPECT_EQ(PlatformMakeWritable(GameJoin(folder.path, "LOCKED.dat").c_str()), 0);
    EXPECT_FALSE(IsReadOnly(folder.Join("locked.dat")));
    EXPECT_EQ(PlatformMakeWritable(GameJoin(folder.path, "missing.dat").c_str()), -1);
}

TEST(PlatformFiles, TempFileBesideIsNewAndReplacesTheTarget) {
    TempFolder folder;
    ASSERT_TRUE(MakeFolder(folder.Join("data")));
    std::string target = GameJoin(GameJoin(folder.path, "data"), "teams.dat");
    ASSERT_TRUE(WriteFileText(folder.Join("data") + "/teams.dat", "old"));
    MakeReadOnly(folder.Join("data") + "/teams.dat");

    char first[600], second[600];
    FILE* a = PlatformCreateTempFileBeside(target.c_str(), first, sizeof(first));
    FILE* b = PlatformCreateTempFileBeside(target.c_str(), second, sizeof(second));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_STRNE(first, second);
    EXPECT_EQ(ListFolder(folder.Join("data")).size(), 3u) << "both temporary files lie beside the target";
    std::fclose(b);
    EXPECT_EQ(PlatformRemoveFile(second), 0);

    EXPECT_EQ(std::fwrite("new", 1, 3, a), 3u);
    EXPECT_TRUE(PlatformSyncFile(a));
    std::fclose(a);
    EXPECT_TRUE(PlatformReplaceFile(first, target.c_str()));
    EXPECT_EQ(ListFolder(folder.Join("data")), std::vector<std::string>{"teams.dat"});
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadFileBytes(folder.Join("data") + "/teams.dat", &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "new");

    char tiny[4];
    EXPECT_EQ(PlatformCreateTempFileBeside(target.c_str(), tiny, sizeof(tiny)), nullptr);
    EXPECT_EQ(ListFolder(folder.Join("data")).size(), 1u);
    EXPECT_FALSE(PlatformReplaceFile(GameJoin(folder.path, "missing.tmp").c_str(), target.c_str()));
}

TEST(PlatformFolders, MakeFolderAndIsFolder) {
    TempFolder folder;
    std::string sub = GameJoin(folder.path, "Saves");
    EXPECT_FALSE(PlatformIsFolder(sub.c_str()));
    EXPECT_EQ(PlatformMakeFolder(sub.c_str()), 0);
    EXPECT_TRUE(PlatformIsFolder(sub.c_str()));
    EXPECT_TRUE(PlatformIsFolder(GameJoin(folder.path, "SAVES").c_str()));
    EXPECT_EQ(PlatformMakeFolder(sub.c_str()), -1) << "an existing folder is a failure, as _mkdir";

    // A file is never a folder, also when it cannot be read.
    ASSERT_TRUE(WriteFileText(folder.Join("locked.dat"), "x"));
    MakeReadOnly(folder.Join("locked.dat"));
    std::filesystem::permissions(folder.Join("locked.dat"), std::filesystem::perms::none);
    EXPECT_FALSE(PlatformIsFolder(GameJoin(folder.path, "locked.dat").c_str()));
    EXPECT_FALSE(PlatformIsFolder(GameJoin(folder.path, "missing").c_str()));
    EXPECT_FALSE(PlatformIsFolder(""));
}

TEST(PlatformFolders, CurrentFolder) {
    TempFolder folder;
    ScopedCurrentFolder inside(folder.path);
    char buffer[600];
    ASSERT_TRUE(PlatformGetCurrentFolder(buffer, sizeof(buffer)));
    EXPECT_TRUE(std::filesystem::equivalent(buffer, folder.path));
    char small[3];
    EXPECT_FALSE(PlatformGetCurrentFolder(small, sizeof(small)));

}

TEST(PlatformFolders, ListingMatchesWithoutCaseAndIncludesDots) {
    TempFolder folder;
    ASSERT_TRUE(MakeFolder(folder.Join("QStart")));
    std::string qstart = folder.Join("QStart");
    ASSERT_TRUE(WriteFileText(qstart + "/One.QST", "1"));
    ASSERT_TRUE(WriteFileText(qstart + "/two.qst", "22"));
    ASSERT_TRUE(WriteFileText(qstart + "/notes.txt", "n"));
    ASSERT_TRUE(MakeFolder(qstart + "/deeper"));
    MakeReadOnly(qstart + "/two.qst");

    std::vector<std::string> quick = ListPattern(GameJoin(folder.path, "qstart\\*.qst"));
    std::sort(quick.begin(), quick.end());
    EXPECT_EQ(quick, (std::vector<std::string>{"One.QST", "two.qst"}));

    std::vector<uint32_t> attributes;
    std::vector<std::string> all = ListPattern(GameJoin(folder.path, "qstart\\*.*"), &attributes);
    EXPECT_EQ(all.size(), 6u);
    EXPECT_TRUE(Contains(all, ".") && Contains(all, "..") && Contains(all, "deeper") && Contains(all, "notes.txt"));
    for (size_t i = 0; i < all.size(); ++i) {
        bool folderEntry = all[i] == "." || all[i] == ".." || all[i] == "deeper";
        EXPECT_EQ((attributes[i] & PlatformAttributeFolder) != 0, folderEntry) << all[i];
        if (all[i] == "two.qst") {
            EXPECT_NE(attributes[i] & PlatformAttributeReadOnly, 0u);
        }
        if (all[i] == "notes.txt") {
            EXPECT_EQ(attributes[i] & PlatformAttributeReadOnly, 0u);
        }
    }

    PlatformFindData data;
    intptr_t handle = PlatformFindFirst(GameJoin(folder.path, "QSTART\\NOTES.TXT").c_str(), &data);
    ASSERT_NE(handle, -1);
    EXPECT_EQ(data.size, 1u);
    EXPECT_STREQ(data.name, "notes.txt");
    EXPECT_EQ(PlatformFindNext(handle, &data), -1);
    PlatformFindClose(handle);
    EXPECT_EQ(PlatformFindFirst(GameJoin(folder.path, "qstart\\*.sav").c_str(), &data), -1);
    EXPECT_EQ(PlatformFindFirst(GameJoin(folder.path, "missing\\*.*").c_str(), &data), -1);
}

