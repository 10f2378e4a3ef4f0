// fault_matrix_test.cpp: one fault per row, placed in a fresh installation while the real wizard
// runs - in this process, or in a forked child when the fault would harm the test program (a
// file-size limit, a kill: the suite FaultMatrixInAChild) - then the game checked on disk: exactly
// as it was, or exactly updated (GameDiffersFrom), and the page the one the wizard promises. The
// rows take the first entry, "pics.cfg", the first "data" entry, the readme and the last entry.
// Kills at each step of keeping and putting back files: kill_points_test.cpp.
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "package/background_flush.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tests/e2e/wizard_session.h"

namespace fs = std::filesystem;

namespace {

TEST(FaultMatrix, TheRecordAtItsLimits) {
    // "Version" of 199 and 200 bytes with the zero byte fits the wizard's 200; 201 does not.
    for (size_t bytes : {199u, 200u, 201u}) {
        WizardSession s;
        s.SetRecord("Version", std::string(bytes - 1, 'v'));
        ASSERT_TRUE(s.Start() && s.ChooseLanguage());
        EXPECT_EQ(s.State(), bytes <= 200 ? StateConfirmVersions : StateNotInstalled) << bytes;
        if (bytes <= 200) { EXPECT_EQ(std::string(s.App().installedVersion), std::string(bytes - 1, 'v')); }
    }
    WizardSession s;
    s.SetRecord("Location", s.gameFolder + std::string(200 - s.gameFolder.size(), 'x'));
    ASSERT_TRUE(s.Start() && s.ChooseLanguage());
    EXPECT_EQ(s.State(), StateNotInstalled) << "a Location of 201 bytes";
}

// The early flush of one entry fails as a disk that cannot write the file out. Where the flush
// goes on beside the next copy, that is found after the next entry (or at the finish, for the
// last); either way the page names the entry itself, Next writes it anew and completes the
// update, and Exit leaves the game as it was.
WizardSession* g_flushSession = nullptr;
int g_flushFailsAt = -1;
bool FlushFailsAtEntry() { return g_flushFailsAt >= 0 && g_flushSession->App().fileCounter == g_flushFailsAt + 1; }

TEST(FaultMatrix, AnEarlyFlushThatFailsHasItsEntryWrittenAgain) {
    BackgroundFlushStepForTests = 1;  // every file is flushed beside its copy
    BackgroundFlushFault = FlushFailsAtEntry;
    for (int entry : {0, 43, 46}) {
        for (bool exit : {false, true}) {
            WizardSession s;
            const std::string label = EntryPath(entry) + (exit ? ", then Exit" : ", then Next");
            ASSERT_TRUE(s.Start() && s.ChooseLanguage()) << label;
            g_flushSession = &s;
            g_flushFailsAt = entry;
            ASSERT_TRUE(s.RunUpdate()) << label;
            EXPECT_EQ(s.State(), StateWriteFailed) << label;
            EXPECT_EQ(s.App().fileCounter, entry + 1) << label;
            char target[WizardPathSize];
            ASSERT_TRUE(UpdateFileTarget(s.App().gameFolder, entry, target, sizeof target));
            EXPECT_STREQ(s.App().lastWriteFailure.file, target) << label;
            g_flushFailsAt = -1;
            if (exit) {
                s.Shutdown();
                EXPECT_EQ(GameDiffersFrom(s, false), "") << label;
                continue;
            }
            ASSERT_TRUE(s.ClickSlot(3) && s.ClickSlot(4) && s.RunUpdate()) << label;  // the folder page, the version page
            EXPECT_EQ(s.State(), StateCompleted) << label;
            EXPECT_EQ(GameDiffersFrom(s, true), "") << label;
        }
    }
    BackgroundFlushStepForTests = 0;
    BackgroundFlushFault = nullptr;
}

#ifdef _WIN32

TEST(FaultMatrix, ATargetHeldOpenIsAWriteFailureThenTheUpdateResumes) {
    // As a running game holds its files: others may read, not replace. Windows only.
    for (int entry : {0, 9, 44}) {
        WizardSession s;
        const std::string label = EntryPath(entry) + " held open";
        HANDLE held = CreateFileA(JoinNative(s.gameFolder, EntryPath(entry)).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << label;
        ASSERT_TRUE(s.Start() && s.ChooseLanguage() && s.RunUpdate());
        EXPECT_EQ(s.State(), StateWriteFailed) << label;
        EXPECT_EQ(s.App().fileCounter, entry + 1) << label;
        EXPECT_EQ(s.GameFile(EntryPath(entry)), OldContents(entry)) << label;
        CloseHandle(held);
        ASSERT_TRUE(s.ClickSlot(3) && s.ClickSlot(4));  // the folder page, then the version page
        ASSERT_TRUE(s.RunUpdate());
        EXPECT_EQ(s.State(), StateCompleted) << label;
        EXPECT_EQ(GameDiffersFrom(s, true), "") << label << ", let go";
    }
}

#else

const int kEntries[] = {0, 9, 10, 44, 46};

std::string NewEntry(int i) { return IsReadmeEntry(i) ? ReadmeContents(LanguageEnglish) : NewContents(i); }

// Runs `body` in a forked child, which ends with _exit(body()): usually the wizard's page.
int RunInChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child ? status : -1;
}

// Start, English, Next, then frames until the step installing `entry` is next.
bool RunUpdateUpToEntry(WizardSession& s, int entry) {
    if (!s.Start() || !s.ChooseLanguage() || !s.ClickSlot(4) || s.State() != StateUpdating) return false;
    for (int frame = 0; frame < 60 && s.App().fileCounter < entry + 1; ++frame) {
        if (!s.Frame() || s.State() != StateUpdating) return false;
    }
    return s.App().fileCounter == entry + 1;
}

int FinishRun(WizardSession& s) {
    for (int frame = 0; frame < 60 && !s.Ended() && s.State() == StateUpdating; ++frame) s.Frame();
    return s.State();
}

// No file of this process grows beyond `bytes`; a write past it fails (EFBIG), or with `kill`
// ends the process inside the write (SIGXFSZ).
void LimitFileSize(rlim_t bytes, bool kill = false) {
    std::signal(SIGXFSZ, kill ? SIG_DFL : SIG_IGN);
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

// The disk fills at an entry: the write-failure page, then Exit puts the game back - by renames
// alone, which need no room.
TEST(FaultMatrixInAChild, AFullDiskStopsTheUpdateAndExitLeavesTheGameAsItWas) {
    const rlim_t half = NewContents(UpdateFileCount - 1).size() / 2;
    std::vector<std::pair<int, rlim_t>> rows;  // from entry, file-size limit
    for (int entry : kEntries) rows.push_back({entry, 0});
    rows.push_back({0, half});  // room for half the largest entry: the first larger one fails
    for (const auto& row : rows) {
        WizardSession s;
        const std::string label = "disk full at " + EntryPath(row.first) + ", limit " + std::to_string(row.second);
        const int status = RunInChild([&] {
            if (!RunUpdateUpToEntry(s, row.first)) return 100;
            LimitFileSize(row.second);
            const int page = FinishRun(s);
            s.Shutdown();  // Exit
            return page;
        });
        ASSERT_TRUE(WIFEXITED(status)) << label;
        EXPECT_EQ(WEXITSTATUS(status), StateWriteFailed) << label;
        EXPECT_EQ(GameDiffersFrom(s, false), "") << label;
    }
}

// Killed after a frame of the update (frame n runs step n - 1, the finish in frame 49), or inside
// the write of an entry: the next start puts the game back (or, after the finish, keeps the
// update), and a run to the end then updates it.
TEST(FaultMatrixInAChild, KilledDuringTheUpdateThenRunAgain) {
    for (int kill : {1, 2, 24, 48, 49, -1, -44, -46}) {
        WizardSession s;
        const int entry = kill < 0 ? -kill - (kill == -1 ? 1 : 0) : -1;
        const int status = RunInChild([&] {
            if (!RunUpdateUpToEntry(s, kill < 0 ? entry : -1)) return 100;
            if (kill < 0) {
                LimitFileSize(NewEntry(entry).size() / 2, true);
                return FinishRun(s);
            }
            for (int i = 0; i < kill; ++i) s.Frame();
            raise(SIGKILL);
            return 101;
        });
        const std::string label = kill > 0 ? "killed after frame " + std::to_string(kill) : "killed writing " + EntryPath(entry);
        ASSERT_TRUE(WIFSIGNALED(status)) << label << ", status " << status;
        ASSERT_TRUE(s.Start() && s.ChooseLanguage()) << label;
        EXPECT_EQ(GameDiffersFrom(s, kill >= 49), "") << label << ", next start";
        ASSERT_TRUE(s.RunUpdate());
        EXPECT_EQ(s.State(), StateCompleted) << label;
        EXPECT_EQ(GameDiffersFrom(s, true), "") << label << ", run again";
    }
}

TEST(FaultMatrixInAChild, PackingThatRunsOutOfRoomLeavesTheOldPackage) {
    TempFolder folder;
    // Packs with no file larger than `limit`: all or nothing of "update.dat" and "SHA256SUMS".
    const auto packUnder = [&](rlim_t limit, size_t packageSize, const std::string& label) {
        ASSERT_TRUE(WriteFileText(folder.Join("update.dat"), "the old package\n"));
        ASSERT_TRUE(WriteFileText(folder.Join("SHA256SUMS"), "the old list\n"));
        const int status = RunInChild([&] {
            if (chdir(folder.path.c_str()) != 0) return 100;
            LimitFileSize(limit);
            return BuildUpdatePackage() ? 0 : 1;
        });
        const bool packed = packageSize != 0;
        std::vector<unsigned char> package, list;
        ReadFileBytes(folder.Join("update.dat"), &package);
        ReadFileBytes(folder.Join("SHA256SUMS"), &list);
        EXPECT_EQ(WEXITSTATUS(status), packed ? 0 : 1) << label;
        if (packed) {
            EXPECT_EQ(package.size(), packageSize) << label;
        } else {
            EXPECT_EQ(std::string(package.begin(), package.end()), "the old package\n") << label;
            EXPECT_EQ(std::string(list.begin(), list.end()), "the old list\n") << label;
        }
        EXPECT_EQ(CountTemporaryFiles(folder.path), 0) << label;
    };
    rlim_t end = UpdatePackageHeaderSize;
    std::vector<rlim_t> limits = {0, end - 1};
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        ASSERT_TRUE(WriteFileText(folder.Join(UpdateFileName(i)), NewContents(i)));
        end += NewContents(i).size();
        if (i == 0 || i == 20 || i == 46) limits.push_back(end - 1);
    }
    limits.push_back(end);
    for (rlim_t limit : limits) packUnder(limit, limit == end ? end : 0, "limit " + std::to_string(limit));
    // Loose files of one byte: the whole package fits under the limit, its longer list does not.
    rlim_t small = UpdatePackageHeaderSize;
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        ASSERT_TRUE(WriteFileText(folder.Join(UpdateFileName(i)), "x"));
        ++small;
    }
    packUnder(small, 0, "the package written, the list out of room");
}

// ---- the Linux record file, damaged --------------------------------------------------------

const std::string kSection = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield]\n";

// `count` letters 'w' as bytes without a terminating zero.
std::string UnterminatedText(size_t count) {
    std::string hex = "hex(1):77";
    while (--count > 0) hex += ",77";
    return hex;
}

TEST(FaultMatrix, ADamagedRecordFileIsNoInstallationAndStaysAsItWas) {
    struct Row {
        std::string text;  // "@" stands for the game folder
        int16_t page;
        std::string shown;
    };
    const Row rows[] = {
        {"", StateNotInstalled, ""},
        {kSection + "\"Version\"=\"Release\"\n", StateNotInstalled, ""},  // a value missing
        {kSection + "\"Location\"=\"@\"\n", StateNotInstalled, ""},
        {"\xff\xfe garbage \x01\n[HKEY_LOCAL_MACHINE\\Software\\Quillbrook Ltd\\Tallyfield\n\"Location\"=\"x\n", StateNotInstalled, ""},
        {kSection + "\"Location\"=\"@\"\n\"Version\"=dword:0000002a\n", StateConfirmVersions, "*"},
        // Without a terminator a value reads when the zero byte still fits the 200 bytes.
        {kSection + "\"Location\"=\"@\"\n\"Version\"=" + UnterminatedText(199) + "\n", StateConfirmVersions, std::string(199, 'w')},
        {kSection + "\"Location\"=\"@\"\n\"Version\"=" + UnterminatedText(200) + "\n", StateNotInstalled, ""},
    };
    for (const Row& row : rows) {
        WizardSession s;
        std::string text = row.text;
        if (text.find('@') != std::string::npos) text.replace(text.find('@'), 1, s.gameFolder);
        ASSERT_TRUE(WriteFileText(s.registryFile, text));
        ASSERT_TRUE(s.Start() && s.ChooseLanguage());
        EXPECT_EQ(s.State(), row.page) << row.text;
        if (row.page == StateConfirmVersions) { EXPECT_EQ(std::string(s.App().installedVersion), row.shown); }
        s.Shutdown();
        std::vector<unsigned char> bytes;
        ASSERT_TRUE(ReadFileBytes(s.registryFile, &bytes));
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), text) << "the record file was changed";
    }
}

#endif  // _WIN32

}  // namespace
