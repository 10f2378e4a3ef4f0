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

TEST(PathMapping, BackslashesBecomeSlashesAndCaseIsMatched) {
    FolderLister tree = FakeTree();
    EXPECT_EQ(MapGamePath("\\games\\tlf\\data\\teams.dat", tree), "/Games/TLF/Data/Teams.DAT");
    EXPECT_EQ(MapGamePath("/GAMES/tlf/TLF.EXE", tree), "/Games/TLF/tlf.exe");
    EXPECT_EQ(MapGamePath("update.dat", tree), "Update.DAT");
    EXPECT_EQ(MapGamePath("data\\X.FNT", tree), "Data/x.fnt");
    EXPECT_EQ(MapGamePath("\\Games\\\\TLF", tree), "/Games/TLF");
}

TEST(PathMapping, ExactNameWinsThenSmallestCaseInsensitiveName) {
    FolderLister tree = FakeTree();
    EXPECT_EQ(MapGamePath("/twins/readme", tree), "/twins/readme");
    EXPECT_EQ(MapGamePath("/twins/README", tree), "/twins/README");
    EXPECT_EQ(MapGamePath("/twins/ReadMe", tree), "/twins/README");
}

TEST(PathMapping, MissingComponentsAndWhatFollowsThemAreKept) {
    FolderLister tree = FakeTree();
    EXPECT_EQ(MapGamePath("\\games\\tlf\\data\\New.dat", tree), "/Games/TLF/Data/New.dat");
    EXPECT_EQ(MapGamePath("\\games\\Missing\\tlf", tree), "/Games/Missing/tlf");
    EXPECT_EQ(MapGamePath("\\games\\tlf\\qstart\\", tree), "/Games/TLF/QSTART/");
}

TEST(PathMapping, DrivePrefixMeansTheRoot) {
    FolderLister tree = FakeTree();
    EXPECT_EQ(MapGamePath("C:\\games\\tlf", tree), "/Games/TLF");
    EXPECT_EQ(MapGamePath("x:", tree), "/");
    EXPECT_EQ(MapGamePath("D:\\", tree), "/");
}

TEST(PathMapping, DotComponentsAndEmptyPathsStay) {
    FolderLister tree = FakeTree();
    EXPECT_EQ(MapGamePath("", tree), "");
    EXPECT_EQ(MapGamePath("\\", tree), "/");
    EXPECT_EQ(MapGamePath(".\\data\\..\\update.dat", tree), "./Data/../update.dat");
}

TEST(PathMapping, RealFoldersAreMatchedWithoutRegardToCase) {
    TempFolder folder;
    ASSERT_TRUE(MakeFolder(folder.Join("Data")));
    ASSERT_TRUE(WriteFileText(folder.Join("Data/Teams.DAT"), "x"));
    EXPECT_EQ(MapToNativePath((folder.path + "\\DATA\\teams.dat").c_str()), folder.path + "/Data/Teams.DAT");
    EXPECT_EQ(MapToNativePath((folder.path + "\\Data\\Teams.DAT").c_str()), folder.path + "/Data/Teams.DAT");
    EXPECT_EQ(MapToNativePath((folder.path + "\\data\\new.txt").c_str()), folder.path + "/Data/new.txt");
}

TEST(Wildcards, MatchAsOnWindows) {
    EXPECT_TRUE(MatchesWildcard("*.*", "README"));
    EXPECT_TRUE(MatchesWildcard("*.*", "."));
    EXPECT_TRUE(MatchesWildcard("*.*", ".."));
    EXPECT_TRUE(MatchesWildcard("*.qst", "Game1.QST"));
    EXPECT_TRUE(MatchesWildcard("*.qst", ".qst"));
    EXPECT_FALSE(MatchesWildcard("*.qst", "game.qs"));
    EXPECT_FALSE(MatchesWildcard("*.qst", "game.qstx"));
    EXPECT_FALSE(MatchesWildcard("*.qst", "qst"));
    EXPECT_TRUE(MatchesWildcard("readme_???.txt", "README_ENG.TXT"));
    EXPECT_FALSE(MatchesWildcard("readme_???.txt", "readme_en.txt"));
    EXPECT_TRUE(MatchesWildcard("a*b*c", "aXXbYYbc"));
    EXPECT_TRUE(MatchesWildcard("readme.*", "Readme"));
}

#endif  // _WIN32
