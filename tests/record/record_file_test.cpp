// record_file_test.cpp: the POSIX record file on disk: where it is, what reading leaves alone,
// atomic replacement, and two processes writing at once.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "package/install_record.h"
#include "platform/platform_system.h"
#include "tests/support/test_files.h"

namespace {

const char kKey[] = "Software\\Quillbrook Ltd\\Tallyfield";

// Points the record at a file in a fresh folder for the test's life.
struct RecordFile {
    TempFolder temp;
    std::string path = temp.Join("registry.reg");
    RecordFile() { setenv("TLF_REGISTRY", path.c_str(), 1); }
    ~RecordFile() { unsetenv("TLF_REGISTRY"); }
    std::string Text() const {
        std::vector<unsigned char> bytes;
        if (!ReadFileBytes(path, &bytes)) return "<none>";
        return std::string(bytes.begin(), bytes.end());
    }
};

std::string Read(const char* name) {
    char buffer[200];
    return PlatformRecordRead(kKey, name, buffer, sizeof(buffer)) ? buffer : "<false>";
}

// Sets and restores one environment variable.
struct ScopedEnvironment {
    std::string name;
    bool had;
    std::string old;
    ScopedEnvironment(const char* variable, const char* value) : name(variable) {
        const char* current = std::getenv(variable);
        had = current != nullptr;
        if (had) old = current;
        if (value)
            setenv(variable, value, 1);
        else
            unsetenv(variable);
    }
    ~ScopedEnvironment() {
        if (had)
            setenv(name.c_str(), old.c_str(), 1);
        else
            unsetenv(name.c_str());
    }
};

}  // namespace

TEST(RecordFile, MissingFileKeyOrValueReadsFalseAndCreatesNothing) {
    RecordFile record;
    EXPECT_EQ(Read("Version"), "<false>");
    EXPECT_TRUE(ListFolder(record.temp.path).empty());
    ASSERT_TRUE(WriteFileText(record.path, "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Other]\n\"Version\"=\"x\"\n"));
    EXPECT_EQ(Read("Version"), "<false>");
    EXPECT_EQ(ListFolder(record.temp.path), std::vector<std::string>{"registry.reg"});
}

TEST(RecordFile, WriteCreatesFileAndFoldersThenKeepsEverythingElse) {
    RecordFile record;
    std::string nested = record.temp.Join("config/tallyfield/registry.reg");
    setenv("TLF_REGISTRY", nested.c_str(), 1);
    EXPECT_TRUE(PlatformRecordWrite(kKey, "Version", "Release"));
    EXPECT_EQ(Read("Version"), "Release");

    setenv("TLF_REGISTRY", record.path.c_str(), 1);
    const std::string before =
        "REGEDIT4\r\n\r\n; keep me\r\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\r\n"
        "\"Location\"=\"/games/tlf\"\r\n\"Version\"=\"Release\"\r\n\r\n[HKEY_CURRENT_USER\\X]\r\n\"A\"=\"B\"\r\n";
    ASSERT_TRUE(WriteFileText(record.path, before));
    EXPECT_TRUE(WriteRegistryString("Tallyfield", "Version", "Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)"));
    std::string after = before;
    after.replace(after.find("\"Version\"=\"Release\""), 19,
                  "\"Version\"=\"Version 3.04e (ENG,ESP,FRA,ITA,NOR,POR,SVE)\"");
    EXPECT_EQ(record.Text(), after);
    EXPECT_EQ(Read("Location"), "/games/tlf");

    // Nothing but the record and its lock file is left beside it.
    EXPECT_EQ(ListFolder(record.temp.path), (std::vector<std::string>{"config", "registry.reg", "registry.reg.lock"}));
}

TEST(RecordFile, ReplacedAtomicallyKeepingPermissions) {
    RecordFile record;
    ASSERT_TRUE(WriteFileText(record.path, "REGEDIT4\n"));
    ASSERT_EQ(chmod(record.path.c_str(), 0600), 0);
    // A reader that opened the old file keeps reading the old text.
    FILE* reader = std::fopen(record.path.c_str(), "rb");
    ASSERT_NE(reader, nullptr);
    EXPECT_TRUE(PlatformRecordWrite(kKey, "Version", "new"));
    char old[16] = {};
    EXPECT_EQ(std::fread(old, 1, sizeof(old) - 1, reader), 9u);
    EXPECT_STREQ(old, "REGEDIT4\n");
    std::fclose(reader);
    struct stat info;
    ASSERT_EQ(stat(record.path.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
}

TEST(RecordFile, FileThatCannotBeReadIsNotReplaced) {
    RecordFile record;
    ASSERT_TRUE(MakeFolder(record.path));  // a folder where the file should be
    EXPECT_FALSE(PlatformRecordWrite(kKey, "Version", "x"));
    EXPECT_FALSE(PlatformRecordWrite(kKey, "Version", "two\nlines"));
    std::vector<std::string> names = ListFolder(record.temp.path);
    EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"})) << "no temporary file left";
}

TEST(RecordFile, DefaultLocationFollowsXdgConfigHomeThenHome) {
    TempFolder temp;
    ScopedEnvironment noRecord("TLF_REGISTRY", nullptr);
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", temp.Join("xdg").c_str());
        EXPECT_TRUE(PlatformRecordWrite(kKey, "Version", "xdg"));
        EXPECT_TRUE(FileExists(temp.Join("xdg/tallyfield/registry.reg")));
    }
    {
        ScopedEnvironment config("XDG_CONFIG_HOME", nullptr);
        ScopedEnvironment home("HOME", temp.Join("home").c_str());
        EXPECT_EQ(Read("Version"), "<false>");
        EXPECT_TRUE(PlatformRecordWrite(kKey, "Version", "home"));
        EXPECT_EQ(Read("Version"), "home");
        EXPECT_TRUE(FileExists(temp.Join("home/.config/tallyfield/registry.reg")));
    }
}

TEST(RecordFile, TwoProcessesWritingAtOnceLoseNothing) {
    RecordFile record;
    const int kWrites = 40;
    pid_t children[2];
    for (int child = 0; child < 2; ++child) {
        children[child] = fork();
        ASSERT_GE(children[child], 0);
        if (children[child] == 0) {
            bool ok = true;
            for (int i = 0; i < kWrites; ++i) {
                std::string name = "P" + std::to_string(child) + "-" + std::to_string(i);
                ok = PlatformRecordWrite(kKey, name.c_str(), std::to_string(i).c_str()) && ok;
            }
            _exit(ok ? 0 : 1);
        }
    }
    for (pid_t child : children) {
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    for (int child = 0; child < 2; ++child)
        for (int i = 0; i < kWrites; ++i) {
            std::string name = "P" + std::to_string(child) + "-" + std::to_string(i);
            EXPECT_EQ(Read(name.c_str()), std::to_string(i)) << name;
        }
}

#endif  // _WIN32
