// folder_path_test.cpp: FolderPath on real folders: the current folder, moving up and down,
// creating, listing, joining, and refusing joins that would not fit.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/file_stream.h"
#include "framework/folder_path.h"
#include "tests/support/test_files.h"

namespace {

std::vector<std::string> ListAll(FolderPath& folder, FolderListingKind kind) {
    std::vector<std::string> names;
    if (!folder.BeginListing(kind)) return names;
    while (const char* name = folder.NextListed()) names.push_back(name);
    EXPECT_EQ(folder.NextListed(), nullptr) << "an exhausted listing stays exhausted";
    folder.EndListing();
    std::sort(names.begin(), names.end());
    return names;
}

bool SameFolder(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

TEST(FolderPathMoves, StartsAtTheCurrentFolderAndMovesDownAndUp) {
    TempFolder temp;
    ScopedCurrentFolder current(temp.path);
    ASSERT_TRUE(MakeFolder(temp.Join("Games")));
    FolderPath folder;
    EXPECT_TRUE(SameFolder(folder.GetPath(), temp.path)) << folder.GetPath();
    const std::string start = folder.GetPath();
    EXPECT_NE(start.back(), '\\');

    EXPECT_TRUE(folder.EnterFolder("games"));
    EXPECT_EQ(std::string(folder.GetPath()), start + "\\games");
    EXPECT_FALSE(folder.EnterFolder("missing"));
    EXPECT_EQ(std::string(folder.GetPath()), start + "\\games");

    EXPECT_TRUE(folder.CreateFolder("Saves", true));
    EXPECT_TRUE(std::filesystem::is_directory(temp.Join("Games") + "/Saves"));
    EXPECT_TRUE(folder.GoToParent());
    EXPECT_TRUE(folder.GoToParent());
    EXPECT_EQ(std::string(folder.GetPath()), start);
    EXPECT_TRUE(folder.GoToParent());
    EXPECT_TRUE(SameFolder(folder.GetPath(), std::filesystem::path(temp.path).parent_path().string()));

    folder.SetToCurrentFolder();
    EXPECT_EQ(std::string(folder.GetPath()), start);
}

TEST(FolderPathMoves, CreateFolderCases) {
    TempFolder temp;
    ScopedCurrentFolder current(temp.path);
    FolderPath folder;
    const std::string start = folder.GetPath();
    EXPECT_TRUE(folder.CreateFolder("data", false));
    EXPECT_EQ(std::string(folder.GetPath()), start);
    EXPECT_TRUE(folder.CreateFolder("DATA", false)) << "an existing folder is fine";
    ASSERT_TRUE(WriteFileText(temp.Join("file.dat"), "x"));
    EXPECT_FALSE(folder.CreateFolder("file.dat", true));
    EXPECT_EQ(std::string(folder.GetPath()), start);
}

TEST(FolderPathMoves, DataFoldersFallBackToTheCurrentFolder) {
    TempFolder temp;
    ScopedCurrentFolder current(temp.path);
    FolderPath folder;
    const std::string start = folder.GetPath();
    EXPECT_FALSE(folder.SetToProductDataFolder(false));
    EXPECT_EQ(std::string(folder.GetPath()), start);
    ASSERT_TRUE(MakeFolder(temp.Join("data")));
    folder.SetToCurrentFolder();
    EXPECT_TRUE(folder.SetToPlatformDataFolder(false));
    EXPECT_EQ(std::string(folder.GetPath()), start + "\\data");
    EXPECT_TRUE(folder.SetToProductDataFolder(false));
    EXPECT_FALSE(folder.SetToPlatformDataFolder(true)) << "no development drive here";
    EXPECT_EQ(std::string(folder.GetPath()), start);
}

TEST(FolderPathDrives, DrivesAreFoldersAndCanBeEntered) {
    FolderPath folder;
    uint16_t count = folder.DriveCount();
    ASSERT_GE(count, 1);
    EXPECT_EQ(folder.DriveName(count), nullptr);
    EXPECT_EQ(folder.DriveName(-1), nullptr);
    std::string first = folder.DriveName(0);
    EXPECT_TRUE(first == "/" || (first.size() == 3 && first[1] == ':' && first[2] == '\\')) << first;
    EXPECT_TRUE(folder.SetToDrive(0));
    EXPECT_EQ(std::string(folder.GetPath()), first);
    EXPECT_TRUE(FolderPath::IsFolder(folder.GetPath()));
    std::string before = folder.GetPath();
    EXPECT_FALSE(folder.SetToDrive(count));
    EXPECT_EQ(std::string(folder.GetPath()), before);
}

TEST(FolderPathListing, FoldersAndFilesApart) {
    TempFolder temp;
    ScopedCurrentFolder current(temp.path);
    ASSERT_TRUE(MakeFolder(temp.Join("data")));
    ASSERT_TRUE(MakeFolder(temp.Join("pictures")));
    ASSERT_TRUE(WriteFileText(temp.Join("update.dat"), "u"));
    ASSERT_TRUE(WriteFileText(temp.Join("README"), "r"));
    FolderPath folder;
    EXPECT_EQ(ListAll(folder, ListFolders), (std::vector<std::string>{"data", "pictures"}));
    EXPECT_EQ(ListAll(folder, ListFiles), (std::vector<std::string>{"README", "update.dat"}));

    // A new listing ends the one before it.
    ASSERT_TRUE(folder.BeginListing(ListFiles));
    ASSERT_NE(folder.NextListed(), nullptr);
    EXPECT_EQ(ListAll(folder, ListFolders).size(), 2u);
    EXPECT_EQ(folder.NextListed(), nullptr);

    ASSERT_TRUE(folder.EnterFolder("data"));
    EXPECT_TRUE(ListAll(folder, ListFolders).empty()) << "never . or ..";
    EXPECT_TRUE(ListAll(folder, ListFiles).empty());
}

TEST(FolderPathJoins, FullPathAndOverlongJoins) {
    TempFolder temp;
    ScopedCurrentFolder current(temp.path);
    FolderPath folder;
    const std::string start = folder.GetPath();
    EXPECT_EQ(std::string(folder.FullPathOf("tlf.exe")), start + "\\tlf.exe");

    std::string longName(FolderPathCapacity - start.size() - 1, 'n');  // one character too many
    EXPECT_STREQ(folder.FullPathOf(longName.c_str()), "");
    EXPECT_FALSE(folder.EnterFolder(longName.c_str()));
    EXPECT_FALSE(folder.CreateFolder(longName.c_str(), true));
    EXPECT_EQ(std::string(folder.GetPath()), start);
    std::string fits(FolderPathCapacity - start.size() - 2, 'n');
    EXPECT_EQ(std::string(folder.FullPathOf(fits.c_str())).size(), FolderPathCapacity - 1u);

    FileStream stream;
    EXPECT_FALSE(stream.Open(&folder, longName.c_str(), 0, BinaryWrite));
}

TEST(FolderPathDrives, DriveRootAsCurrentFolderJoinsWithOneSeparator) {
    TempFolder temp;
    // The root of the drive (or of the file system) the temporary folder lies on.
    std::string root = std::filesystem::path(temp.path).root_path().string();
    ScopedCurrentFolder current(root);
    FolderPath folder;
#ifdef _WIN32
    // "C:\" is held as the bare drive, so that a join gives "C:\name".
    EXPECT_EQ(std::string(folder.GetPath()), root.substr(0, 2));
    EXPECT_EQ(std::string(folder.FullPathOf("tlf.exe")), root + "tlf.exe");
#endif
    std::string before = folder.GetPath();
    EXPECT_TRUE(FolderPath::IsFolder(before.c_str()));
    EXPECT_TRUE(folder.GoToParent()) << "the root's parent is itself, and a folder";
    EXPECT_EQ(std::string(folder.GetPath()), before);

    // A file below the root is reached through the joined path.
    std::string relative = std::filesystem::path(temp.path).relative_path().string();
    ASSERT_TRUE(WriteFileBytes(temp.Join("probe.bin"), {1, 2}));
    FileStream stream;
    ASSERT_TRUE(stream.Open(&folder, (relative + "\\probe.bin").c_str(), 0, BinaryRead));
    uint16_t value = 0;
    EXPECT_TRUE(stream.Read16(&value));
    EXPECT_EQ(value, 0x0201);
}
