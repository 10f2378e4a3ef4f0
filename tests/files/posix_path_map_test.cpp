// posix_path_map_test.cpp: the POSIX mapping of the installer's Windows-style paths, against a
// fake folder tree and against real folders whose names differ from the paths only in case.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <map>

#include "platform/posix/posix_path_map.h"
#include "platform/posix/posix_wildcard.h"
#include "tests/support/test_files.h"

namespace {

// A game folder as a Windows installation leaves it, plus a folder holding two names that
// differ only in case, so the choice between them shows.
FolderLister FakeTree() {
    static const std::map<std::string, std::vector<std::string>> tree = {
        {"/", {".", "..", "Games", "tmp", "twins"}},
        {"/Games", {".", "..", "TLF"}},
        {"/Games/TLF", {".", "..", "Data", "tlf.exe", "QSTART"}},
        {"/Games/TLF/Data", {".", "..", "Teams.DAT"}},
        {"/twins", {"Readme", "README", "readme"}},
        {".", {"Update.DAT", "Data"}},
        {"Data", {"x.fnt"}},
    };
    return [](const std::string& folder, std::vector<std::string>* names) {
        auto it = tree.find(folder);
        if (it == tree.end()) return false;
        *names = it->second;
        return true;
    };
}

}  // namespace

TEST(PathMapping, GamePathsMapToNativeOnes) {
    FolderLister tree = FakeTree();
    const char* const rows[][2] = {
        // Backslashes become slashes; each component is matched without regard to case.
        {"\\games\\tlf\\data\\teams.dat", "/Games/TLF/Data/Teams.DAT"},
        {"update.dat", "Update.DAT"},
        {"\\Games\\\\TLF", "/Games/TLF"},
        // The exact name wins, then the smallest name equal without regard to case.
        {"/twins/readme", "/twins/readme"},
        {"/twins/ReadMe", "/twins/README"},
        // Missing components, and what follows them, are kept as they are.
        {"\\games\\tlf\\data\\New.dat", "/Games/TLF/Data/New.dat"},
        {"\\games\\Missing\\tlf", "/Games/Missing/tlf"},
        {"\\games\\tlf\\qstart\\", "/Games/TLF/QSTART/"},
        // A drive prefix means the root.
        {"C:\\games\\tlf", "/Games/TLF"},
        {"x:", "/"},
        {"", ""},
        {".\\data\\..\\update.dat", "./Data/../update.dat"},
    };
    for (const auto& row : rows) EXPECT_EQ(MapGamePath(row[0], tree), row[1]) << row[0];
}

TEST(PathMapping, RealFoldersAreMatchedWithoutRegardToCase) {
    TempFolder folder;
    ASSERT_TRUE(MakeFolder(folder.Join("Data")));
    ASSERT_TRUE(WriteFileText(folder.Join("Data/Teams.DAT"), "x"));
    EXPECT_EQ(MapToNativePath((folder.path + "\\DATA\\teams.dat").c_str()), folder.path + "/Data/Teams.DAT");
    EXPECT_EQ(MapToNativePath((folder.path + "\\data\\new.txt").c_str()), folder.path + "/Data/new.txt");
}

TEST(Wildcards, MatchAsOnWindows) {
    EXPECT_TRUE(MatchesWildcard("*.*", "README"));
    EXPECT_TRUE(MatchesWildcard("*.*", ".."));
    EXPECT_TRUE(MatchesWildcard("*.qst", "Game1.QST"));
    EXPECT_FALSE(MatchesWildcard("*.qst", "game.qstx"));
    EXPECT_FALSE(MatchesWildcard("*.qst", "qst"));
    EXPECT_TRUE(MatchesWildcard("readme_???.txt", "README_ENG.TXT"));
    EXPECT_FALSE(MatchesWildcard("readme_???.txt", "readme_en.txt"));
    EXPECT_TRUE(MatchesWildcard("a*b*c", "aXXbYYbc"));
    EXPECT_TRUE(MatchesWildcard("readme.*", "Readme"));
}

#endif  // _WIN32
