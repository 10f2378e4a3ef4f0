// package_test.cpp: "update.dat" on real files in a fresh current folder: entries around the copy
// chunk, a table of damaged packages (cut from the known package tests/package/known_update.dat),
// and every failure leaving the package, its checksum list, the destination and the folder as
// they were. The packed bytes in the table's order, from both programs: tests/scripts/pack_test.sh.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#ifndef _WIN32
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

using Bytes = std::vector<unsigned char>;

Bytes Text(const std::string& text) { return Bytes(text.begin(), text.end()); }

class PackageTest : public ::testing::Test {
protected:
    PackageTest() : here(folder.path) {}

    // The loose files; contents(i) of entry i.
    void WriteLooseFiles(const std::function<Bytes(int)>& contents) {
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) { ASSERT_TRUE(WriteFileBytes(folder.Join(UpdateFileName(i)), contents(i))); }
        }
    }
    Bytes Package() {
        Bytes bytes;
        EXPECT_TRUE(ReadFileBytes(folder.Join("update.dat"), &bytes));
        return bytes;
    }
    void WritePackage(const Bytes& bytes) { ASSERT_TRUE(WriteFileBytes(folder.Join("update.dat"), bytes)); }
    // Extracts entry i to `target`; the contents, or "<package fault>" / "<destination fault>".
    std::string Extract(int i, const std::string& target) {
        bool packageFault = false;
        if (!ExtractPackageEntry(i, target.c_str(), packageFault)) return packageFault ? "<package fault>" : "<destination fault>";
        Bytes got;
        EXPECT_TRUE(ReadFileBytes(target, &got));
        return std::string(got.begin(), got.end());
    }

    TempFolder folder;
    ScopedCurrentFolder here;
};

std::string KnownContents(int i) { return std::string(UpdateFileName(i)) + "\n"; }

TEST_F(PackageTest, EntriesAroundTheCopyChunkPackAsTheFormatSaysAndExtractWhole) {
    constexpr long Chunk = UpdateCopyChunkSize;
    const long sizes[] = {Chunk - 1, 3, Chunk, Chunk + 1, 2 * Chunk + 1, 0};  // entry 1 puts the rest off the grid
    auto size = [&](int i) { return i < 6 ? sizes[i] : 10 + i; };
    auto contents = [&](int i) {
        Bytes bytes(static_cast<size_t>(size(i)));
        uint32_t state = 0x2545f491u * static_cast<uint32_t>(i + 3);
        for (auto& b : bytes) b = static_cast<unsigned char>((state = state * 1664525u + 1013904223u) >> 24);
        return bytes;
    };
    WriteLooseFiles(contents);
    ASSERT_TRUE(WriteFileText(folder.Join("readme.txt"), "must not be packed"));
    WritePackage(Bytes(5000, 0xAA));  // an existing package is replaced
    ASSERT_TRUE(BuildUpdatePackage());
    // 47 little-endian slots (readme.txt's 0), then the contents in table order: a fault shared by
    // packing and extracting cancels out in the round trip below.
    Bytes expected;
    for (int i = 0; i < UpdateFileCount; ++i) {
        const uint32_t slot = IsReadmeEntry(i) ? 0 : static_cast<uint32_t>(size(i));
        for (int b = 0; b < 4; ++b) expected.push_back(static_cast<unsigned char>(slot >> (8 * b)));
    }
    for (int i = 0; i < UpdateFileCount; ++i) {
        const Bytes entry = contents(i);
        if (!IsReadmeEntry(i)) expected.insert(expected.end(), entry.begin(), entry.end());
    }
    EXPECT_TRUE(Package() == expected);
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        ASSERT_TRUE(WriteFileText(folder.Join("out"), "an older, longer file in the way"));
        const Bytes want = contents(i);
        EXPECT_EQ(Extract(i, folder.Join("out")), std::string(want.begin(), want.end())) << UpdateFileName(i);
    }
    for (int i : {0, 2, 3}) {
        ASSERT_TRUE(WriteFileBytes(folder.Join("readme_eng.txt"), contents(i)));
        ASSERT_TRUE(InstallReadme("readme_eng.txt", "readme.txt"));
        Bytes got;
        ASSERT_TRUE(ReadFileBytes(folder.Join("readme.txt"), &got));
        EXPECT_TRUE(got == contents(i)) << size(i);
    }
}

void SetSlot(Bytes& package, int slot, uint32_t value) {
    for (int b = 0; b < 4; ++b) package[4 * slot + b] = static_cast<unsigned char>(value >> (8 * b));
}

TEST_F(PackageTest, DamagedPackagesAreRefusedAndNeverChangeTheDestination) {
    Bytes known;
    ASSERT_TRUE(ReadFileBytes(SourcePath("tests/package/known_update.dat"), &known));
    struct Case {
        std::string what;
        std::function<void(Bytes&)> damage;
        bool whole;  // CheckUpdatePackage's answer; entries 45 and 46 extract exactly when whole
    };
    std::vector<Case> cases = {
        {"trailing bytes", [](Bytes& p) { p.insert(p.end(), 100, 0xEE); }, false},
        {"no package", [](Bytes& p) { p.clear(); }, false},
    };
    for (uint32_t junk : {0x7fffffffu, 0x80000000u, 0xffffffffu}) {
        cases.push_back({"slot 44 = " + std::to_string(junk), [=](Bytes& p) { SetSlot(p, UpdatePackageReadmeSlot, junk); }, true});
        for (int slot : {0, 43, 45, 46}) {
            cases.push_back({"slot " + std::to_string(slot) + " = " + std::to_string(junk), [=](Bytes& p) { SetSlot(p, slot, junk); }, false});
        }
    }
    // Every length inside the header and one byte either side of, and at, every entry's end.
    std::vector<size_t> cuts;
    for (size_t n = 0; n <= static_cast<size_t>(UpdatePackageHeaderSize) + 1; ++n) cuts.push_back(n);
    size_t end = UpdatePackageHeaderSize;
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        end += KnownContents(i).size();
        for (size_t n : {end - 1, end, end + 1}) {
            if (n < known.size()) cuts.push_back(n);
        }
    }
    for (size_t n : cuts) cases.push_back({"cut to " + std::to_string(n), [=](Bytes& p) { p.resize(n); }, false});

    for (const Case& c : cases) {
        Bytes package = known;
        c.damage(package);
        if (c.what == "no package") {
            std::filesystem::remove(folder.Join("update.dat"));
        } else {
            WritePackage(package);
        }
        EXPECT_EQ(CheckUpdatePackage(), c.whole) << c.what;
        ASSERT_TRUE(WriteFileText(folder.Join("installed"), "the old file"));
        const std::string last = Extract(46, folder.Join("installed"));
        if (c.whole) {
            EXPECT_EQ(last, KnownContents(46)) << c.what;
        } else if (last != KnownContents(46)) {
            EXPECT_EQ(last, "<package fault>") << c.what;
            Bytes kept;
            ASSERT_TRUE(ReadFileBytes(folder.Join("installed"), &kept));
            EXPECT_EQ(std::string(kept.begin(), kept.end()), "the old file") << c.what;
        }
        EXPECT_EQ(ListFolder(folder.path).size(), c.what == "no package" ? 1u : 2u) << c.what << ": a temporary file stayed";
    }
}

TEST_F(PackageTest, FailuresLeaveThePackageAndTheDestinationAsTheyWere) {
    // A missing loose file: no package made, nothing else left (an old one kept: pack_test.sh).
    WriteLooseFiles([](int i) { return Text(KnownContents(i)); });
    std::filesystem::remove(folder.Join("changes.txt"));
    const std::vector<std::string> before = ListFolder(folder.path);
    EXPECT_FALSE(BuildUpdatePackage());
    EXPECT_EQ(ListFolder(folder.path), before);

    ASSERT_TRUE(WriteFileText(folder.Join("changes.txt"), KnownContents(45)));
    ASSERT_TRUE(BuildUpdatePackage());
    // A destination in a missing folder is the destination's fault (a read-only one: PlatformFiles).
    EXPECT_EQ(Extract(0, folder.Join("no_such_folder") + "/tlf.exe"), "<destination fault>");
    // The readme copy: a missing source fails (that the source stays: the wizard's install test).
    ASSERT_TRUE(WriteFileText(folder.Join("readme_eng.txt"), "new readme"));
    EXPECT_TRUE(InstallReadme("readme_eng.txt", "readme.txt"));
    EXPECT_FALSE(InstallReadme("readme_missing.txt", "readme.txt"));
    Bytes readme;
    ASSERT_TRUE(ReadFileBytes(folder.Join("readme.txt"), &readme));
    EXPECT_EQ(std::string(readme.begin(), readme.end()), "new readme");
}

// What stands at a path, as the pack must leave it: its kind, and a file's bytes or a link's target.
std::string Describe(const std::string& path) {
    namespace fs = std::filesystem;
    const fs::file_status status = fs::symlink_status(path);
    Bytes bytes;
    switch (status.type()) {
        case fs::file_type::regular: return ReadFileBytes(path, &bytes) ? "file " + std::string(bytes.begin(), bytes.end()) : "unreadable";
        case fs::file_type::symlink: return "link to " + fs::read_symlink(path).string();
        case fs::file_type::not_found: return "nothing";
        default: return "kind " + std::to_string(static_cast<int>(status.type()));
    }
}

#ifndef _WIN32
// Marks a file immutable (even root may then not rename it) for the guard's life, where the
// file system and this process's capabilities allow it; `set` tells whether they did.
struct Immutable {
    explicit Immutable(const std::string& file) : path(file) { set = Flag(true); }
    ~Immutable() { if (set) Flag(false); }
    bool Flag(bool on) {
        const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
        int flags = 0;
        bool done = fd >= 0 && ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
        done = done && ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        if (fd >= 0) close(fd);
        return done;
    }
    std::string path;
    bool set = false;
};
#endif

TEST_F(PackageTest, APackThatCannotReplaceBothOldFilesChangesNeither) {
    WriteLooseFiles([](int i) { return Text(KnownContents(i)); });
    struct Row {
        std::string what;
        // Puts the obstacle in place beside an old package and list; false when the system does
        // not allow it here (the row is then left out).
        std::function<bool(const std::string& package, const std::string& list)> place;
    };
    std::vector<Row> rows = {
        {"SHA256SUMS a folder", [](const std::string&, const std::string& list) { return MakeFolder(list); }},
        {"update.dat a folder", [](const std::string& package, const std::string&) { return MakeFolder(package); }},
#ifndef _WIN32
        {"SHA256SUMS a link to a file", [&](const std::string&, const std::string& list) {
             return WriteFileText(folder.Join("elsewhere"), "not a list") && symlink("elsewhere", list.c_str()) == 0;
         }},
        {"update.dat a FIFO", [](const std::string& package, const std::string&) { return mkfifo(package.c_str(), 0644) == 0; }},
#endif
    };
    const auto clear = [&] {
        for (const char* name : {"update.dat", "SHA256SUMS", "elsewhere"}) std::filesystem::remove_all(folder.Join(name));
    };
    for (const Row& row : rows) {
        clear();
        ASSERT_TRUE(row.place(folder.Join("update.dat"), folder.Join("SHA256SUMS")));
        if (!FileExists(folder.Join("update.dat"))) { ASSERT_TRUE(WriteFileText(folder.Join("update.dat"), "old package")); }
        if (!FileExists(folder.Join("SHA256SUMS"))) { ASSERT_TRUE(WriteFileText(folder.Join("SHA256SUMS"), "old list")); }
        const std::vector<std::string> names = ListFolder(folder.path);
        const char* const watched[] = {"update.dat", "SHA256SUMS", "elsewhere"};
        std::vector<std::string> before;
        for (const char* name : watched) before.push_back(Describe(folder.Join(name)));
        EXPECT_FALSE(BuildUpdatePackage()) << row.what;
        for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(Describe(folder.Join(watched[i])), before[i]) << row.what;
        EXPECT_EQ(ListFolder(folder.path), names) << row.what << ": a temporary file stayed";
    }
#ifndef _WIN32
    // A file that may not be renamed (not even by root): an immutable list is refused after the
    // package was kept aside, which is then put back.
    for (const char* held : {"SHA256SUMS", "update.dat"}) {
        clear();
        ASSERT_TRUE(WriteFileText(folder.Join("update.dat"), "old package") && WriteFileText(folder.Join("SHA256SUMS"), "old list"));
        const std::vector<std::string> names = ListFolder(folder.path);
        Immutable immutable(folder.Join(held));
        if (!immutable.set) continue;  // no immutable files on this file system or for this user
        EXPECT_FALSE(BuildUpdatePackage()) << held;
        EXPECT_EQ(Describe(folder.Join("update.dat")), "file old package") << held;
        EXPECT_EQ(Describe(folder.Join("SHA256SUMS")), "file old list") << held;
        EXPECT_EQ(ListFolder(folder.path), names) << held << " immutable: a temporary file stayed";
    }
#endif
}

TEST(UpdateFileTable, NamesCompareWithoutRegardToCase) {
    EXPECT_TRUE(NamesEqual("README.TXT", "readme.txt") && NamesEqual("Pics.Cfg", "pics.cfg"));
    EXPECT_FALSE(NamesEqual("readme.tx", "readme.txt") || NamesEqual("readme.txt", "readme.txt "));
}

}  // namespace
