// files_test.cpp: the file layer under the package and the wizard, on real files: the platform's
// file and folder services through the installer's backslash paths (matched without regard to
// case everywhere), the POSIX mapping of those paths, and FileStream's bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "framework/file_stream.h"
#include "framework/folder_path.h"
#include "platform/platform_system.h"
#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/posix_path_map.h"
#include "platform/posix/posix_wildcard.h"
#endif
#include "tools/wizard_driver/scratch_files.h"

namespace fs = std::filesystem;

namespace {

using Bytes = std::vector<unsigned char>;

std::string Text(const std::string& path) {
    Bytes bytes;
    return ReadFileBytes(path, &bytes) ? std::string(bytes.begin(), bytes.end()) : "<none>";
}

bool ReadOnly(const std::string& path) { return (fs::status(path).permissions() & fs::perms::owner_write) == fs::perms::none; }

std::vector<std::string> Find(const std::string& pattern, std::vector<uint32_t>* attributes = nullptr) {
    std::vector<std::string> names;
    PlatformFindData data;
    const intptr_t handle = PlatformFindFirst(pattern.c_str(), &data);
    if (handle == -1) return names;
    do {
        names.push_back(data.name);
        if (attributes != nullptr) attributes->push_back(data.attrib);
    } while (PlatformFindNext(handle, &data) == 0);
    PlatformFindClose(handle);
    return names;
}

TEST(PlatformFiles, GamePathsReachFilesWithoutRegardToCase) {
    TempFolder t;
    const std::string game = t.path;
    ASSERT_TRUE(MakeFolder(t.Join("Data")));
    FILE* out = PlatformOpenFile((game + "\\data\\Teams.dat").c_str(), "wb");
    ASSERT_NE(out, nullptr);
    EXPECT_EQ(std::fwrite("abc", 1, 3, out), 3u);
    std::fclose(out);
    FILE* in = PlatformOpenFile((game + "\\DATA\\TEAMS.DAT").c_str(), "rb");
    ASSERT_NE(in, nullptr);
    EXPECT_EQ(std::fgetc(in), 'a');
    EXPECT_EQ(PlatformFileSize(in), 3);
    EXPECT_EQ(std::fgetc(in), 'b') << "telling the size must not move the position";
    std::fclose(in);
    EXPECT_EQ(PlatformOpenFile((game + "\\missing.dat").c_str(), "rb"), nullptr);

    fs::permissions(t.Join("Data/Teams.dat"), fs::perms::owner_read);
    EXPECT_EQ(PlatformMakeWritable((game + "\\data\\TEAMS.dat").c_str()), 0);
    EXPECT_FALSE(ReadOnly(t.Join("Data/Teams.dat")));
    EXPECT_EQ(PlatformMakeWritable((game + "\\missing.dat").c_str()), -1);
    EXPECT_EQ(PlatformRemoveFile((game + "\\Data\\teams.DAT").c_str()), 0);
    EXPECT_EQ(PlatformRemoveFile((game + "\\Data\\teams.DAT").c_str()), -1);
    EXPECT_EQ(PlatformRemoveFile((game + "\\DATA").c_str()), -1) << "never a folder, even an empty one";
    EXPECT_EQ(ListFolder(t.path), std::vector<std::string>{"Data"});

    EXPECT_FALSE(PlatformIsFolder((game + "\\Saves").c_str()));
    EXPECT_EQ(PlatformMakeFolder((game + "\\Saves").c_str()), 0);
    EXPECT_TRUE(PlatformIsFolder((game + "\\SAVES").c_str()));
    EXPECT_EQ(PlatformMakeFolder((game + "\\Saves").c_str()), -1) << "an existing folder fails, as _mkdir";
    EXPECT_FALSE(PlatformIsFolder(""));
    char current[600], small[3];
    ScopedCurrentFolder inside(t.path);
    ASSERT_TRUE(PlatformGetCurrentFolder(current, sizeof current));
    EXPECT_TRUE(fs::equivalent(current, t.path));
    EXPECT_FALSE(PlatformGetCurrentFolder(small, sizeof small));
}

TEST(PlatformFiles, ATemporaryFileBesideReplacesItsTargetWhole) {
    TempFolder t;
    const std::string target = t.path + "\\teams.dat";
    ASSERT_TRUE(WriteFileText(t.Join("teams.dat"), "old"));
    fs::permissions(t.Join("teams.dat"), fs::perms::owner_read);
    char first[600], second[600], tiny[4];
    FILE* a = PlatformCreateTempFileBeside(target.c_str(), first, sizeof first);
    FILE* b = PlatformCreateTempFileBeside(target.c_str(), second, sizeof second);
    ASSERT_TRUE(a != nullptr && b != nullptr);
    EXPECT_STRNE(first, second);
    EXPECT_EQ(ListFolder(t.path).size(), 3u) << "both beside the target";
    std::fclose(b);
    EXPECT_EQ(PlatformRemoveFile(second), 0);
    EXPECT_EQ(std::fwrite("new", 1, 3, a), 3u);
    EXPECT_TRUE(PlatformSyncFile(a));
    std::fclose(a);
    EXPECT_TRUE(PlatformReplaceFile(first, target.c_str()));
    EXPECT_EQ(ListFolder(t.path), std::vector<std::string>{"teams.dat"});
    EXPECT_EQ(Text(t.Join("teams.dat")), "new");
    EXPECT_EQ(PlatformCreateTempFileBeside(target.c_str(), tiny, sizeof tiny), nullptr);
    EXPECT_FALSE(PlatformReplaceFile((t.path + "\\missing.tmp").c_str(), target.c_str()));
    EXPECT_EQ(ListFolder(t.path).size(), 1u);
}

TEST(PlatformFiles, ListingsMatchWithoutCaseAndIncludeTheDots) {
    TempFolder t;
    const std::string q = t.Join("QStart");
    ASSERT_TRUE(MakeFolder(q) && MakeFolder(q + "/deeper"));
    ASSERT_TRUE(WriteFileText(q + "/One.QST", "1") && WriteFileText(q + "/two.qst", "22") && WriteFileText(q + "/notes.txt", "n"));
    fs::permissions(q + "/two.qst", fs::perms::owner_read);
    std::vector<std::string> quick = Find(t.path + "\\qstart\\*.qst");
    std::sort(quick.begin(), quick.end());
    EXPECT_EQ(quick, (std::vector<std::string>{"One.QST", "two.qst"}));
    std::vector<uint32_t> attributes;
    const std::vector<std::string> all = Find(t.path + "\\qstart\\*.*", &attributes);
    std::map<std::string, uint32_t> kinds;
    for (size_t i = 0; i < all.size(); ++i) kinds[all[i]] = attributes[i] & (PlatformAttributeFolder | PlatformAttributeReadOnly);
    const std::map<std::string, uint32_t> expected = {{".", PlatformAttributeFolder}, {"..", PlatformAttributeFolder},
                                                      {"deeper", PlatformAttributeFolder}, {"One.QST", 0},
                                                      {"notes.txt", 0}, {"two.qst", PlatformAttributeReadOnly}};
    EXPECT_EQ(kinds, expected);
    EXPECT_EQ(Find(t.path + "\\QSTART\\NOTES.TXT"), std::vector<std::string>{"notes.txt"});
    EXPECT_TRUE(Find(t.path + "\\qstart\\*.sav").empty());
    EXPECT_TRUE(Find(t.path + "\\missing\\*.*").empty());
}

#ifndef _WIN32
TEST(PlatformFiles, ATemporaryFileTakesTheOwnerAndModeOfTheFileItReplaces) {
    TempFolder t;
    const bool root = geteuid() == 0;  // only root may give a file to another user
    const std::string model = t.Join("model");
    ASSERT_TRUE(WriteFileText(t.Join("linked"), "l") && MakeFolder(t.Join("other")));
    ASSERT_EQ(chmod(t.Join("linked").c_str(), 0700), 0);
    if (root) { ASSERT_EQ(chown(t.Join("other").c_str(), 4321, 8765), 0); }
    const auto file = [&](mode_t mode, uid_t uid, gid_t gid) {
        return [=] { return WriteFileText(model, "m") && chown(model.c_str(), uid, gid) == 0 && chmod(model.c_str(), mode) == 0; };
    };
    const uid_t same = static_cast<uid_t>(-1);  // for chown: keep, and in a row: as created
    struct Row {
        std::string what;
        std::function<bool()> make;  // puts the model at "model"
        std::string name;            // the model's name in the folder, as the wizard gives it
        bool result;
        uid_t uid;
        gid_t gid;
        mode_t mode;  // permission bits; 0: as created
    };
    std::vector<Row> rows = {
        {"mode 0750", file(0750, same, same), "model", true, same, same, 0750},
        {"mode 0444", file(0444, same, same), "model", true, same, same, 0444},
        {"a link to a file of mode 0700", [&] { return symlink("linked", model.c_str()) == 0; }, "model", false, same, same, 0},
        {"a folder", [&] { return MakeFolder(model); }, "model", false, same, same, 0},
        {"absent", [] { return true; }, "OTHER\\new.dat", true, root ? 4321u : same, root ? 8765u : same, 0},
    };
    if (root) rows.push_back({"owned by 1234:5678, mode 04750", file(04750, 1234, 5678), "model", true, 1234, 5678, 04750});
    for (const Row& row : rows) {
        std::filesystem::remove_all(model);
        ASSERT_TRUE(row.make()) << row.what;
        char tempPath[600];
        FILE* temporary = PlatformCreateTempFileBeside((t.path + "\\model").c_str(), tempPath, sizeof tempPath);
        ASSERT_NE(temporary, nullptr);
        struct stat created, after;
        ASSERT_EQ(fstat(fileno(temporary), &created), 0);
        EXPECT_EQ(PlatformTakeOwnerAndMode(temporary, (t.path + "\\" + row.name).c_str()), row.result) << row.what;
        ASSERT_EQ(fstat(fileno(temporary), &after), 0);
        std::fclose(temporary);
        std::remove(tempPath);
        EXPECT_EQ(after.st_uid, row.uid != same ? row.uid : created.st_uid) << row.what;
        EXPECT_EQ(after.st_gid, row.gid != same ? row.gid : created.st_gid) << row.what;
        EXPECT_EQ(after.st_mode & 07777, row.mode != 0 ? row.mode : created.st_mode & 07777) << row.what;
    }
}

TEST(PathMapping, GamePathsMapToNativeOnesAndWildcardsMatchAsOnWindows) {
    static const std::map<std::string, std::vector<std::string>> tree = {
        {"/", {".", "..", "Games", "twins"}}, {"/Games", {"TLF"}}, {"/Games/TLF", {"Data", "tlf.exe", "QSTART"}},
        {"/Games/TLF/Data", {"Teams.DAT"}},  {"/twins", {"Readme", "README", "readme"}}, {".", {"Update.DAT", "Data"}},
    };
    const FolderLister lister = [](const std::string& folder, std::vector<std::string>* names) {
        auto it = tree.find(folder);
        return it != tree.end() && (*names = it->second, true);
    };
    const char* const rows[][2] = {
        {"\\games\\tlf\\data\\teams.dat", "/Games/TLF/Data/Teams.DAT"}, {"update.dat", "Update.DAT"},
        {"\\Games\\\\TLF", "/Games/TLF"},     {"/twins/readme", "/twins/readme"},  // the exact name wins,
        {"/twins/ReadMe", "/twins/README"},  // then the smallest equal without case
        {"\\games\\tlf\\data\\New.dat", "/Games/TLF/Data/New.dat"}, {"\\games\\Missing\\tlf", "/Games/Missing/tlf"},
        {"\\games\\tlf\\qstart\\", "/Games/TLF/QSTART/"}, {"C:\\games\\tlf", "/Games/TLF"}, {"x:", "/"}, {"", ""},
        {".\\data\\..\\update.dat", "./Data/../update.dat"},
    };
    for (const auto& row : rows) EXPECT_EQ(MapGamePath(row[0], lister), row[1]) << row[0];
    const std::pair<const char*, const char*> matches[] = {
        {"*.*", "README"}, {"*.*", ".."}, {"*.qst", "Game1.QST"}, {"readme_???.txt", "README_ENG.TXT"},
        {"a*b*c", "aXXbYYbc"}, {"readme.*", "Readme"}};
    for (const auto& m : matches) EXPECT_TRUE(MatchesWildcard(m.first, m.second)) << m.first << " " << m.second;
    const std::pair<const char*, const char*> misses[] = {{"*.qst", "game.qstx"}, {"*.qst", "qst"}, {"readme_???.txt", "readme_en.txt"}};
    for (const auto& m : misses) EXPECT_FALSE(MatchesWildcard(m.first, m.second)) << m.first << " " << m.second;
}
#endif

TEST(FileStream, BigEndianValuesAndRunsAreTheExpectedBytes) {
    // Little-endian reading is what the fonts use (the pixel rules); the run-length round trip is
    // the fuzz target's; here the exact bytes of both byte orders and of the runs.
    TempFolder t;
    ScopedCurrentFolder current(t.path);
    FolderPath folder;
    {
        FileStream big, packed;
        ASSERT_TRUE(big.Open(&folder, "big.bin", 2, BinaryWrite) && packed.Open(&folder, "packed.bin", 0, BinaryWrite));
        uint16_t array[2] = {0x0102, 0xA0B0};
        EXPECT_TRUE(big.Write8(int8_t{-2}) && big.Write16(int16_t{-2}) && big.Write32(int32_t{0x01020304}) &&
                    big.Write16Array(array, 2) && big.WriteString("Tf"));
        EXPECT_EQ(array[1], 0xA0B0) << "the caller's array is unchanged";
        for (unsigned char b : Bytes{0x20, 0x20, 0x20, 0x20, 0x20, 0xC7, 0x41, 0x41, 0x41, 0xBF, 0xC0}) packed.WritePacked(b);
        for (int i = 0; i < 100; ++i) packed.WritePacked(0);
    }  // the destructor closes, writing the pending run
    EXPECT_EQ(Text(t.Join("big.bin")), std::string("\xFE\xFF\xFE\x01\x02\x03\x04\x01\x02\xA0\xB0Tf\0", 14));
    EXPECT_EQ(Text(t.Join("packed.bin")), std::string("\xC5\x20\xC1\xC7\xC3\x41\xBF\xC1\xC0\xFF\x00\xE5\x00", 13));
    FileStream in;
    int32_t whole = 0;
    ASSERT_TRUE(in.Open(&folder, "big.bin", 2, BinaryRead));
    in.Seek(3, false);
    EXPECT_TRUE(in.Read32(&whole));
    EXPECT_EQ(whole, 0x01020304);
    EXPECT_FALSE(in.Write8(uint8_t{1})) << "reading streams do not write";
}

}  // namespace
