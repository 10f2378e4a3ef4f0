// record_test.cpp: the installation record on the system the test runs on (the registry's 32-bit
// view under Wine, set and checked with reg.exe as the game's setup would; the record file on
// Linux, set and checked as text, with what stands in its way: a path that is no regular file,
// temporary files of dead runs, a second writer), the Linux record text as a table of cases, the
// record file in both export encodings (8-bit and UTF-16), and the quick-start files of a real
// game folder. A lock held by another program: the integrity table's row "record lock held".
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include "platform/platform_system.h"
#include "platform/posix/posix_record_text.h"
#include "platform/text_convert.h"
#include "tests/package/other_process.h"
#endif
#include "package/install_record.h"
#include "package/quick_start.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

const char kSubkey[] = "TallyfieldTest";
const std::string kKeyName = "HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\TallyfieldTest";

std::string Read(const char* name, uint32_t size = 200) {
    char buffer[512];
    return ReadRegistryValue(kSubkey, name, buffer, size) ? buffer : "<false>";
}

// The test's own product key, as the system's own tools see it; removed afterwards.
struct SystemRecord {
    TempFolder temp;
    std::string file = temp.Join("registry.reg");
#ifdef _WIN32
    SystemRecord() { Reg("delete \"" + kKeyName + "\" /f /reg:32"); }
    ~SystemRecord() { Reg("delete \"" + kKeyName + "\" /f /reg:32"); }
    static int Reg(const std::string& arguments) { return std::system(("reg " + arguments + " >NUL 2>&1").c_str()); }
    void SetText(const std::string& name, const std::string& text) {
        ASSERT_EQ(Reg("add \"" + kKeyName + "\" /v " + name + " /t REG_SZ /d \"" + text + "\" /f /reg:32"), 0);
    }
    bool Has(const std::string& name, const std::string& text, const char* view = "/reg:32") {
        const std::string out = temp.Join("q.txt");
        if (std::system(("reg query \"" + kKeyName + "\" /v " + name + " " + view + " > \"" + out + "\" 2>NUL").c_str()))
            return false;
        std::ifstream in(out);
        for (std::string line; std::getline(in, line);) {
            if (line.find("REG_SZ") != std::string::npos && line.find(text) != std::string::npos) return true;
        }
        return false;
    }
#else
    SystemRecord() { setenv("TLF_REGISTRY", file.c_str(), 1); }
    ~SystemRecord() { unsetenv("TLF_REGISTRY"); }
    void SetText(const std::string& name, const std::string& text) {
        ASSERT_TRUE(WriteFileText(file, "REGEDIT4\n\n[" + kKeyName + "]\n\"" + name + "\"=\"" + text + "\"\n"));
    }
    // The file's exact text after a write: RecordFile below.
    bool Has(const std::string& name, const std::string& text) { return Read(name.c_str()) == text; }
#endif
};

TEST(InstallRecord, ReadsWhatTheSetupWroteWithinItsBufferAndWritesWhereTheSystemSeesIt) {
    SystemRecord record;
    EXPECT_EQ(Read("Version"), "<false>");
    EXPECT_FALSE(FileExists(record.file)) << "reading creates nothing";
    record.SetText("Version", std::string(199, 'v'));
    EXPECT_EQ(Read("VERSION"), std::string(199, 'v')) << "names without case";

    const char* version = "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)";
    EXPECT_TRUE(WriteRegistryString(kSubkey, "Location", "C:\\Games"));
    EXPECT_TRUE(WriteRegistryString(kSubkey, "Version", version));
    EXPECT_TRUE(record.Has("Version", version));
    EXPECT_EQ(Read("Location"), "C:\\Games");
#ifdef _WIN32
    EXPECT_FALSE(record.Has("Version", version, "/reg:64")) << "the record lives in the 32-bit view";
#endif
}

TEST(QuickStartFiles, FoundWithoutCaseDeletedEvenReadOnlyAndOverlongPathsSkipped) {
    TempFolder game;
    const std::string qstart = game.Join("QStart");
    EXPECT_FALSE(ProcessQuickStartFiles(game.path.c_str(), false));
    ASSERT_TRUE(MakeFolder(qstart));
    ASSERT_TRUE(WriteFileText(qstart + "/notes.txt", "n"));
    EXPECT_FALSE(ProcessQuickStartFiles(game.path.c_str(), false));
    ASSERT_TRUE(WriteFileText(qstart + "/League.QST", "q"));
    ASSERT_TRUE(WriteFileText(qstart + "/locked.qst", "l"));
    std::filesystem::permissions(qstart + "/locked.qst", std::filesystem::perms::owner_read);
    ASSERT_TRUE(MakeFolder(qstart + "/x.qst"));  // a non-empty folder: cannot be deleted, skipped
    ASSERT_TRUE(WriteFileText(qstart + "/x.qst/inside", "i"));
    // Joined paths of more than 199 characters are skipped, not cut (a cut one could name another).
    const size_t room = 199 - (game.path.size() + std::string("\\qstart\\").size());
    ASSERT_GT(room, 20u) << "the temporary folder's path is too long for this test";
    const std::string tooLong = std::string(room - 3, 'L') + ".qst", fitting = std::string(room - 4, 'L') + ".qst";
    ASSERT_TRUE(WriteFileText(qstart + "/" + tooLong, "x"));
    ASSERT_TRUE(WriteFileText(qstart + "/" + fitting, "y"));
    const std::string cut = tooLong.substr(0, room);  // what a cut path would name instead
    ASSERT_TRUE(WriteFileText(qstart + "/" + cut, "c"));
    EXPECT_TRUE(ProcessQuickStartFiles(game.path.c_str(), false));
    EXPECT_EQ(ListFolder(qstart).size(), 7u) << "looking changes nothing";

    EXPECT_TRUE(ProcessQuickStartFiles(game.path.c_str(), true));
    EXPECT_EQ(ListFolder(qstart), (std::vector<std::string>{cut, tooLong, "notes.txt", "x.qst"}));
}

#ifndef _WIN32

const char kKey[] = "Software\\Quillbrook Ltd\\Tallyfield";
const char kSection[] = "[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]";

// A file as an export and a user's editing may leave it.
const std::string kSample = std::string("REGEDIT4\r\n\r\n; exported\r\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Other]\r\n") +
                            "\"Version\"=\"Other 1.0\"\r\n\r\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Quillbrook Ltd\\Tallyfield]\r\n" +
                            "\"Location\"=\"C:\\\\Games\\\\TLF \\\"Gold\\\"\"\r\n\"Count\"=dword:0000002a\r\n" +
                            "\"Binary\"=hex:41,42,\\\r\n  43\r\nthis line is damaged\r\n@=\"default\"\r\n\r\n";

struct ReadCase {
    std::string text, key, name;
    std::string bytes;  // "<missing>" when not found
};

TEST(RecordText, ReadCases) {
    const std::string twice = std::string("REGEDIT4\n") + kSection + "\n\"Version\"=\"one\"\n\"Version\"=\"bad\n" +
                              "[HKEY_CURRENT_USER\\Software\\Quillbrook Ltd\\Tallyfield]\n\"Version\"=\"user\"\n" + kSection +
                              "\n\"Version\"=\"two\"\n[broken\n\"Version\"=\"three\"";
    const ReadCase cases[] = {
        {kSample, kKey, "Location", std::string("C:\\Games\\TLF \"Gold\"\0", 20)},
        {kSample, kKey, "Count", std::string("\x2a\0\0\0", 4)},
        {kSample, kKey, "Binary", "ABC"},
        {kSample, kKey, "Version", "<missing>"},
        {kSample, "Software\\Quillbrook Ltd\\Other", "Version", std::string("Other 1.0\0", 10)},
        {kSample, "Software\\Quillbrook Ltd", "Location", "<missing>"},
        {"", kKey, "Location", "<missing>"},
        {twice, kKey, "Version", std::string("three\0", 6)},
        {"\x01\x02[\xff]\"=\n\n", kKey, "Version", "<missing>"},
        {std::string("REGEDIT4\n") + kSection + "\n\"Location\"=hex(1):4,zz\n", kKey, "Location", "<missing>"},
        {std::string("REGEDIT4\n") + kSection + "\n\"Location\"=\\\n", kKey, "Location", "<missing>"},
    };
    for (const ReadCase& c : cases) {
        std::string bytes;
        EXPECT_EQ(FindRecordValue(c.text, c.key, c.name, &bytes) ? bytes : "<missing>", c.bytes) << c.name << " in:\n" << c.text;
    }
}

// A value replaced in its line or added to its section, in the file and in both encodings: the
// RecordFile tests below.
struct SetCase {
    std::string before, name, value;
    std::string after;  // "<refused>" when the edit must fail, "<any>" when only reading back counts
};

TEST(RecordText, SetCases) {
    std::string loneReturn = std::string("REGEDIT4\r\n") + kSection + "\r\n[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n" + kSection + "\r";
    const SetCase cases[] = {
        {"", "Version", "Release", std::string("REGEDIT4\n\n") + kSection + "\n\"Version\"=\"Release\"\n"},
        {"REGEDIT4\n; note", "A", "b", std::string("REGEDIT4\n; note\n\n") + kSection + "\n\"A\"=\"b\"\n"},
        {loneReturn, "Patch", "x", "<any>"},  // found by the record fuzz target
        {kSample, "Version", "two\nlines", "<refused>"},
        {kSample, "Bad\rName", "x", "<refused>"},
    };
    for (const SetCase& c : cases) {
        std::string edited = "<refused>";
        SetRecordText(c.before, kKey, c.name, c.value, &edited);
        if (c.after != "<any>") { EXPECT_EQ(edited, c.after) << c.name << " = " << c.value; }
        std::string bytes;
        if (c.after != "<refused>") { EXPECT_TRUE(FindRecordValue(edited, kKey, c.name, &bytes) && bytes == c.value + std::string(1, '\0')) << c.name; }
    }
}

TEST(RecordFile, ReplacedAtomicallyInItsFolderKeepingPermissionsAndEveryOtherLine) {
    SystemRecord record;
    const std::string nested = record.temp.Join("config/tallyfield/registry.reg");
    setenv("TLF_REGISTRY", nested.c_str(), 1);
    EXPECT_TRUE(PlatformRecordWrite(kKey, "Version", "Release"));
    EXPECT_TRUE(FileExists(nested)) << "the file and its folders are made";
    setenv("TLF_REGISTRY", record.file.c_str(), 1);

    ASSERT_TRUE(WriteFileText(record.file, kSample));
    ASSERT_EQ(chmod(record.file.c_str(), 0600), 0);
    std::ifstream reader(record.file, std::ios::binary);  // opened before the write: sees the old text whole
    EXPECT_TRUE(PlatformRecordWrite(kKey, "Count", "new"));
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), kSample);
    struct stat info;
    ASSERT_EQ(stat(record.file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    std::string expected = kSample;
    expected.replace(expected.find("\"Count\"=dword:0000002a"), 22, "\"Count\"=\"new\"");
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadFileBytes(record.file, &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
    EXPECT_EQ(ListFolder(record.temp.path), (std::vector<std::string>{"config", "registry.reg", "registry.reg.lock"}));
}

// A UTF-16 export of `text` (UTF-8 without zero bytes): the mark FF FE, then each unit low byte first.
std::string Wide(const std::string& text) {
    std::u16string units;
    EXPECT_TRUE(Utf8ToUtf16(text.c_str(), &units)) << text;
    std::string bytes = "\xFF\xFE";
    for (char16_t unit : units) bytes += {static_cast<char>(unit & 0xFF), static_cast<char>(unit >> 8)};
    return bytes;
}

TEST(RecordFile, ReadAndRewrittenInItsOwnEncodingEveryOtherByteKept) {
    ASSERT_EQ(Wide("[\xC5\x81\xF0\x9D\x84\x9E"), std::string("\xFF\xFE[\0\x41\x01\x34\xD8\x1E\xDD", 10));
    SystemRecord record;
    const std::string location = "Z:\\Gry\\\xC5\x81\xC3\xB3" "d\xC5\xBA \xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1 \xD0\x9C\xD0\xBE \xF0\x9D\x84\x9E";
    const std::string head = std::string("Windows Registry Editor Version 5.00\r\n\r\n") + kSection + "\r\n\"Location\"=\"Z:\\\\Gry\\\\" +
                             location.substr(7) + "\"\r\n", tail = "\r\n";
    const std::string exported = Wide(head + "\"Version\"=\"Version 3.02 (ENG)\"\r\n" + tail);
    const std::string wow = "REGEDIT4\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\WOW6432Node\\Quillbrook Ltd\\Tallyfield]\n\"Location\"=\"C:\\\\G\"\n";
    const std::string zeroLine("\0\0;\0\r\0\n\0", 8), bytes8 = std::string("REGEDIT4\n") + kSection + "\n\"Location\"=\"C:\\\\J\xF6rg\"\n";
    const struct {
        const char* what;
        std::string before;
        std::string location;  // "Location" before the write; "<false>" when it does not read
        std::string name, value;
        std::string after;  // the file after writing the value; "<refused>": the write fails, the file stays
    } rows[] = {
        {"UTF-16: its line replaced", exported + zeroLine, location, "version", "Version 3.04e",
         Wide(head + "\"version\"=\"Version 3.04e\"\r\n" + tail) + zeroLine},
        {"UTF-16: added with CR LF", exported, location, "Patch", "\xCE\xB1", Wide(head + "\"Version\"=\"Version 3.02 (ENG)\"\r\n\"Patch\"=\"\xCE\xB1\"\r\n" + tail)},
        {"UTF-16: only the mark", "\xFF\xFE", "<false>", "Location", location, Wide("Windows Registry Editor Version 5.00\r\n\r\n" + std::string(kSection) + "\r\n" + head.substr(head.find("\"Loc")))},
        {"UTF-16: malformed UTF-8 cannot be written", exported, location, "Version", "\xC3(", "<refused>"},
        {"UTF-16: an odd byte count", exported + "\n", "<false>", "Version", "v", "<refused>"},
        {"UTF-16: an unpaired high surrogate", exported + std::string("\0\xD8", 2), "<false>", "Version", "v", "<refused>"},
        {"UTF-16: an unpaired low surrogate", Wide("[") + std::string("\0\xDC", 2) + exported.substr(2), "<false>", "Version", "v", "<refused>"},
        {"UTF-8 marked: read after the mark, kept", "\xEF\xBB\xBF" + bytes8.substr(9), "C:\\J\xF6rg", "Version", "v", "\xEF\xBB\xBF" + bytes8.substr(9) + "\"Version\"=\"v\"\n"},
        {"8-bit: bytes pass unchanged", bytes8, "C:\\J\xF6rg", "Version", "\xC3(", bytes8 + "\"Version\"=\"\xC3(\"\n"},
        // 64-bit Windows exports a 32-bit program's key under WOW6432Node; beside the plain key, the plain one counts.
        {"WOW6432Node only: read and written there", wow, "C:\\G", "Version", "v", wow + "\"Version\"=\"v\"\n"},
        {"WOW6432Node beside the key", wow + bytes8.substr(9), "C:\\J\xF6rg", "Version", "v", wow + bytes8.substr(9) + "\"Version\"=\"v\"\n"},
    };
    const auto read = [](const std::string& name) {
        char value[200];
        return PlatformRecordRead(kKey, name.c_str(), value, sizeof value) ? std::string(value) : "<false>";
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(WriteFileText(record.file, row.before));
        EXPECT_EQ(read("Location"), row.location) << row.what;
        EXPECT_EQ(PlatformRecordWrite(kKey, row.name.c_str(), row.value.c_str()), row.after != "<refused>") << row.what;
        std::vector<unsigned char> bytes;
        ASSERT_TRUE(ReadFileBytes(record.file, &bytes));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), row.after == "<refused>" ? row.before : row.after) << row.what;
        if (row.after != "<refused>") { EXPECT_EQ(read(row.name), row.value) << row.what << ": read back"; }
    }
}

TEST(RecordFile, ARecordPathThatIsNoRegularFileIsNoRecordAndStaysAsItWas) {
    SystemRecord record;
    ASSERT_TRUE(WriteFileText(record.temp.Join("real.reg"), kSample) && WriteFileText(record.file + ".lock", ""));
    struct Row {
        const char* what;
        std::function<bool(const char* path)> make;
        bool onlyAsRoot;  // making it needs root; left out otherwise
    };
    const Row rows[] = {
        {"a folder", [](const char* path) { return mkdir(path, 0755) == 0; }, false},
        {"a FIFO", [](const char* path) { return mkfifo(path, 0644) == 0; }, false},  // reading it would wait for ever
        {"a link to a record", [](const char* path) { return symlink("real.reg", path) == 0; }, false},
        {"a character device", [](const char* path) { return mknod(path, S_IFCHR | 0666, makedev(1, 3)) == 0; }, true},
    };
    for (const Row& row : rows) {
        std::filesystem::remove_all(record.file);
        if (!row.make(record.file.c_str())) {
            EXPECT_TRUE(row.onlyAsRoot && geteuid() != 0) << row.what;
            continue;
        }
        struct stat before, after;
        ASSERT_EQ(lstat(record.file.c_str(), &before), 0);
        const std::vector<std::string> names = ListFolder(record.temp.path);
        char value[64];
        EXPECT_FALSE(PlatformRecordRead(kKey, "Location", value, sizeof value)) << row.what;
        EXPECT_FALSE(PlatformRecordWrite(kKey, "Version", "x")) << row.what;
        ASSERT_EQ(lstat(record.file.c_str(), &after), 0);
        EXPECT_TRUE(before.st_mode == after.st_mode && before.st_ino == after.st_ino && before.st_rdev == after.st_rdev) << row.what;
        EXPECT_EQ(ListFolder(record.temp.path), names) << row.what << ": a temporary file stayed";
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(ReadFileBytes(record.temp.Join("real.reg"), &bytes) && std::string(bytes.begin(), bytes.end()) == kSample) << row.what;
    }
}

TEST(RecordFile, AWriteRemovesTheTemporaryFilesOfDeadRunsOnly) {
    SystemRecord record;
    OtherProcess live;
    ASSERT_NE(live.Id(), 0u);
    std::fflush(nullptr);
    const pid_t dead = fork();
    if (dead == 0) _exit(0);
    ASSERT_EQ(waitpid(dead, nullptr, 0), dead);
    const std::string ofDead = "registry.reg.~tlf" + std::to_string(dead), ofLive = "registry.reg.~tlf" + std::to_string(live.Id());
    const struct {
        std::string name;
        bool folder;
        bool kept;
    } rows[] = {
        {ofDead + "-0.tmp", false, false},
        {ofDead + "-17.tmp", false, false},
        {ofLive + "-0.tmp", false, true},      // its process may be writing now
        {ofDead + "-1.tmp", true, true},       // not a file
        {ofDead + "-2.tmp.bak", false, true},  // not the name
        {"other.reg.~tlf" + std::to_string(dead) + "-0.tmp", false, true},  // another record's
    };
    for (const auto& row : rows) { ASSERT_TRUE(row.folder ? MakeFolder(record.temp.Join(row.name)) : WriteFileText(record.temp.Join(row.name), "t")); }
    EXPECT_TRUE(PlatformRecordWrite(kKey, "Version", "new"));
    for (const auto& row : rows) EXPECT_EQ(FileExists(record.temp.Join(row.name)), row.kept) << row.name;
}

TEST(RecordFile, TwoProcessesWritingAtOnceLoseNothing) {
    SystemRecord record;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        if ((children[child] = fork()) != 0) continue;
        bool ok = true;
        for (int i = 0; i < 40; ++i) ok = PlatformRecordWrite(kKey, ("P" + std::to_string(child * 100 + i)).c_str(), "1") && ok;
        _exit(ok ? 0 : 1);
    }
    int status = 0;
    for (pid_t child : children) EXPECT_TRUE(waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0);
    char value[8];
    for (int first : {0, 100})  // each child's 40 names
        for (int i = first; i < first + 40; ++i) EXPECT_TRUE(PlatformRecordRead(kKey, ("P" + std::to_string(i)).c_str(), value, sizeof value)) << i;
}

#endif  // _WIN32

}  // namespace
