// quick_start_test.cpp: finding and deleting the quick-start files in a real game folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "package/quick_start.h"
#include "tests/support/test_files.h"

namespace {

// A game folder with a "QStart" folder (capitals as a Windows setup may leave them).
struct GameFolder {
    TempFolder temp;
    std::string qstart = temp.Join("QStart");
    GameFolder() { EXPECT_TRUE(MakeFolder(qstart)); }
    std::string In(const std::string& name) const { return qstart + "/" + name; }
};

void MakeReadOnly(const std::string& path) {
    namespace fs = std::filesystem;
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

}  // namespace

TEST(QuickStartFiles, PresenceIsReportedWithoutChangingAnything) {
    GameFolder game;
    EXPECT_FALSE(ProcessQuickStartFiles(game.temp.path.c_str(), false));
    ASSERT_TRUE(WriteFileText(game.In("notes.txt"), "n"));
    EXPECT_FALSE(ProcessQuickStartFiles(game.temp.path.c_str(), false));
    ASSERT_TRUE(WriteFileText(game.In("League.QST"), "q"));
    EXPECT_TRUE(ProcessQuickStartFiles(game.temp.path.c_str(), false));
    EXPECT_EQ(ListFolder(game.qstart), (std::vector<std::string>{"League.QST", "notes.txt"}));

    TempFolder noQuickStart;
    EXPECT_FALSE(ProcessQuickStartFiles(noQuickStart.path.c_str(), false));
    EXPECT_TRUE(ProcessQuickStartFiles(noQuickStart.path.c_str(), true));
}

TEST(QuickStartFiles, DeletionTakesReadOnlyFilesAndLeavesTheRest) {
    GameFolder game;
    ASSERT_TRUE(WriteFileText(game.In("a.qst"), "a"));
    ASSERT_TRUE(WriteFileText(game.In("B.QST"), "b"));
    ASSERT_TRUE(WriteFileText(game.In("locked.qst"), "c"));
    MakeReadOnly(game.In("locked.qst"));
    ASSERT_TRUE(WriteFileText(game.In("keep.txt"), "k"));
    ASSERT_TRUE(MakeFolder(game.In("nested")));
    ASSERT_TRUE(WriteFileText(game.In("nested") + "/deep.qst", "d"));

    EXPECT_TRUE(ProcessQuickStartFiles(game.temp.path.c_str(), true));
    EXPECT_EQ(ListFolder(game.qstart), (std::vector<std::string>{"keep.txt", "nested"}));
    EXPECT_TRUE(FileExists(game.In("nested") + "/deep.qst")) << "the listing is not recursive";
    EXPECT_FALSE(ProcessQuickStartFiles(game.temp.path.c_str(), false));
}

TEST(QuickStartFiles, AnEntryThatCannotBeDeletedIsSkipped) {
    GameFolder game;
    // A non-empty folder matching the pattern cannot be deleted as a file, by anyone.
    ASSERT_TRUE(MakeFolder(game.In("x.qst")));
    ASSERT_TRUE(WriteFileText(game.In("x.qst") + "/inside", "i"));
    ASSERT_TRUE(WriteFileText(game.In("first.qst"), "1"));
    ASSERT_TRUE(WriteFileText(game.In("z.qst"), "z"));

    EXPECT_TRUE(ProcessQuickStartFiles(game.temp.path.c_str(), true));
    EXPECT_EQ(ListFolder(game.qstart), (std::vector<std::string>{"x.qst"}));
    EXPECT_TRUE(ProcessQuickStartFiles(game.temp.path.c_str(), false)) << "a later check still finds it";
}

TEST(QuickStartFiles, PathsThatWouldNotFitAreSkippedNotTruncated) {
    GameFolder game;
    // The joined path of this entry needs more than 200 characters; a truncated path could
    // name another file, such as the prefix-named one beside it.
    size_t room = 199 - (game.temp.path.size() + std::string("\\qstart\\").size());
    ASSERT_GT(room, 20u) << "the temporary folder's path is too long for this test";
    std::string longName = std::string(room - 3, 'L') + ".qst";  // one character too long
    std::string fitting = std::string(room - 4, 'L') + ".qst";    // fits exactly
    ASSERT_TRUE(WriteFileText(game.In(longName), "x"));
    ASSERT_TRUE(WriteFileText(game.In(fitting), "y"));
    EXPECT_TRUE(ProcessQuickStartFiles(game.temp.path.c_str(), true));
    EXPECT_EQ(ListFolder(game.qstart), std::vector<std::string>{longName});
}
