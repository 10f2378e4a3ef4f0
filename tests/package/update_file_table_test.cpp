// Tests of the update file table: the entries the rest of the update relies on by position.
#include <gtest/gtest.h>

#include <cstring>

#include "package/update_file_table.h"

TEST(UpdateFileTable, SpecialEntriesAndFolders) {
    ASSERT_EQ(UpdateFileCount, 47);
    EXPECT_STREQ(UpdateFileName(0), "tlf.exe");
    EXPECT_STREQ(UpdateFileSubfolder(0), "\\");
    EXPECT_STREQ(UpdateFileName(9), "pics.cfg");
    EXPECT_STREQ(UpdateFileSubfolder(9), "\\pictures\\");
    EXPECT_STREQ(UpdateFileName(44), "readme.txt");
    EXPECT_STREQ(UpdateFileSubfolder(46), "\\data\\");
    int readmes = 0, pictures = 0;
    for (int i = 0; i < UpdateFileCount; ++i) {
        readmes += IsReadmeEntry(i);
        pictures += IsPicturesConfigEntry(i);
        const char* folder = UpdateFileSubfolder(i);
        EXPECT_TRUE(!std::strcmp(folder, "\\") || !std::strcmp(folder, "\\data\\") || !std::strcmp(folder, "\\pictures\\"));
    }
    EXPECT_EQ(readmes, 1);
    EXPECT_EQ(pictures, 1);
}

TEST(UpdateFileTable, NamesCompareWithoutRegardToCase) {
    EXPECT_TRUE(NamesEqual("README.TXT", "readme.txt"));
    EXPECT_TRUE(NamesEqual("Pics.Cfg", "pics.cfg"));
    EXPECT_FALSE(NamesEqual("readme.tx", "readme.txt"));
    EXPECT_FALSE(NamesEqual("readme.txt", "readme.txt "));
}
