// integrity_test.cpp: the faults an update meets, driven through the real wizard on real files: a
// missing or damaged source, a package of the wrong length, a readme or list that differs found at
// step 0, damaged bytes caught by the checksum list "SHA256SUMS" at their entry, too little space,
// a failed write, a record that cannot be written; each named on its page and each leaving the
// game exactly as it was. And the write-failure page telling which file, why and what to do,
// fitting in every language.
#ifndef _WIN32
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <functional>

#include "app/texts.h"
#include "app/write_failure_text.h"
#include "framework/framework_state.h"
#include "gfx/button.h"
#include "gfx/font.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "package/update_space.h"
#include "tests/e2e/wizard_session.h"

namespace fs = std::filesystem;

namespace {

// Rewrites `name` in the delivered folder ("update.dat", "SHA256SUMS") through `edit`.
void Rewrite(WizardSession& s, const char* name, const std::function<void(std::string&)>& edit) {
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadFileBytes(JoinNative(s.updateFolder, name), &bytes));
    std::string text(bytes.begin(), bytes.end());
    edit(text);
    ASSERT_TRUE(WriteFileText(JoinNative(s.updateFolder, name), text));
}

// Flips one byte in the middle of entry i's bytes inside "update.dat" (its length stays right).
void FlipByteOfEntry(WizardSession& s, int i) {
    Rewrite(s, "update.dat", [i](std::string& package) {
        UpdatePackageHeader header;
        DecodePackageHeader(reinterpret_cast<const unsigned char*>(package.data()), &header);
        package[PackageEntryOffset(header, i) + header.slots[i] / 2] ^= 0x20;
    });
}

// Changes a digest of the list ("SHA256SUMS") on the line of `name`.
void EditDigestOf(WizardSession& s, const char* name) {
    Rewrite(s, "SHA256SUMS", [name](std::string& t) {
        const size_t line = t.find(std::string("  ") + name) - 64;
        t[line] = t[line] == '0' ? '1' : '0';
    });
}

#ifndef _WIN32
int gHeldLock = -1;  // the record's lock, held by the row "record lock held"
#endif

struct Case {
    const char* label;
    std::function<void(WizardSession&)> prepare;
    int16_t page;
    int stopsAtEntry;        // the entry whose step failed; -1: the check before any
    const char* named;       // the file the page names; "@record": the record
    WriteFailureReason reason = WriteFailureNone;  // on the write-failure page: why (None: as the system says)
    bool gameAsMade = true;  // false: the row itself changed the game, only its own files are compared
};

const Case kCases[] = {
    {"no update.dat", [](WizardSession& s) { fs::remove(JoinNative(s.updateFolder, "update.dat")); }, StateSourceMissing, -1, "update.dat"},
    {"update.dat a byte short", [](WizardSession& s) { Rewrite(s, "update.dat", [](std::string& b) { b.pop_back(); }); }, StateSourceMissing, -1, "update.dat"},
    {"first slot zeroed, no list", [](WizardSession& s) {
         fs::remove(JoinNative(s.updateFolder, "SHA256SUMS"));
         Rewrite(s, "update.dat", [](std::string& b) { b.replace(0, 4, 4, '\0'); });
     }, StateSourceMissing, -1, "update.dat"},
    {"negative slot", [](WizardSession& s) { Rewrite(s, "update.dat", [](std::string& b) { b[4 * 3 + 3] = '\x80'; }); }, StateSourceMissing, -1, "update.dat"},
    {"readme missing", [](WizardSession& s) { fs::remove(JoinNative(s.updateFolder, "readme_eng.txt")); }, StateSourceMissing, -1, "readme_eng.txt"},
    {"byte flipped in tlf.exe", [](WizardSession& s) { FlipByteOfEntry(s, 0); }, StateSourceMissing, 0, "tlf.exe"},
    {"byte flipped in city.dat", [](WizardSession& s) { FlipByteOfEntry(s, 12); }, StateSourceMissing, 12, "data\\city.dat"},
    {"byte flipped in the last entry", [](WizardSession& s) { FlipByteOfEntry(s, 46); }, StateSourceMissing, 46, "data\\fancluburls.txt"},
    {"digest of the last entry edited", [](WizardSession& s) { EditDigestOf(s, "fancluburls.txt"); }, StateSourceMissing, 46, "data\\fancluburls.txt"},
    {"readme changed", [](WizardSession& s) { WriteFileText(JoinNative(s.updateFolder, "readme_eng.txt"), "changed\n"); },
     StateSourceMissing, -1, "readme_eng.txt"},
    {"list line malformed", [](WizardSession& s) { Rewrite(s, "SHA256SUMS", [](std::string& t) { t.insert(0, "not a digest  tlf.exe\n"); }); },
     StateSourceMissing, -1, "SHA256SUMS"},
    {"list misses club.dat", [](WizardSession& s) { Rewrite(s, "SHA256SUMS", [](std::string& t) { t.erase(t.find("  club.dat") - 64, 64 + 11); }); },
     StateSourceMissing, -1, "SHA256SUMS"},
    {"list misses the readme", [](WizardSession& s) { Rewrite(s, "SHA256SUMS", [](std::string& t) { t.erase(t.find("  readme_eng.txt") - 64, 64 + 17); }); },
     StateSourceMissing, -1, "SHA256SUMS"},
    {"1,000 bytes free", [](WizardSession& s) { s.App().freeSpaceOf = [](const char*) -> int64_t { return 1000; }; },
     StateWriteFailed, -1, "", WriteFailureDiskFull},
    {"data folder missing", [](WizardSession& s) { fs::remove_all(JoinNative(s.gameFolder, "data")); }, StateWriteFailed, 1, "data\\euro.cfg",
     WriteFailureFolderMissing, false},
    {"readme.txt a folder", [](WizardSession& s) { fs::remove(JoinNative(s.gameFolder, "readme.txt")); MakeFolder(JoinNative(s.gameFolder, "readme.txt")); },
     StateWriteFailed, 44, "readme.txt", WriteFailureNone, false},
#ifndef _WIN32
    // A folder where the record's lock file goes: "Version" cannot be written.
    {"record not writable", [](WizardSession& s) { fs::remove(s.registryFile + ".lock"); MakeFolder(s.registryFile + ".lock"); },
     StateWriteFailed, 47, "@record"},
    // Another program holds the record's lock (this test, through another open file): the wait
    // for it is bounded.
    {"record lock held", [](WizardSession& s) {
         gHeldLock = open((s.registryFile + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
         flock(gHeldLock, LOCK_EX);
     }, StateWriteFailed, 47, "@record", WriteFailureInUse},
#endif
};

// Each fault: the page that names it, and the game as it was: at once after a package fault,
// after Exit on the write-failure page (which "< Back" could still have resumed).
TEST(Integrity, EachFaultIsNamedAndLeavesTheGameAsItWas) {
    for (const Case& c : kCases) {
        WizardSession s;
        ASSERT_TRUE(s.Start()) << c.label;
        c.prepare(s);
        ASSERT_TRUE(s.ChooseLanguage()) << c.label;
        ASSERT_TRUE(s.RunUpdate()) << c.label;
        EXPECT_EQ(s.State(), c.page) << c.label;
        EXPECT_EQ(s.App().fileCounter, c.stopsAtEntry + 1) << c.label;
        const WriteFailureRecord& failure = s.App().lastWriteFailure;
        char named[WizardPathSize];
        FileNameInGame(c.page == StateSourceMissing ? s.App().faultyFile : failure.file, s.App().gameFolder, named, sizeof named);
        EXPECT_EQ(named, std::string(c.named) == "@record" ? s.registryFile : c.named) << c.label;
        if (c.page != StateWriteFailed || c.reason != WriteFailureNone) { EXPECT_EQ(failure.reason, c.reason) << c.label; }
        if (c.page == StateWriteFailed && c.stopsAtEntry < 0) {
            EXPECT_EQ(failure.bytesFree, 1000) << c.label;
            EXPECT_GT(failure.bytesNeeded, 1000) << c.label;
        }
        if (c.page == StateSourceMissing) { EXPECT_EQ(GameDiffersFrom(s, false), "") << c.label; }
        EXPECT_FALSE(s.ClickSlot(4)) << c.label << ": Exit";
        s.Shutdown();  // the main loop's end
        if (c.gameAsMade) { EXPECT_EQ(GameDiffersFrom(s, false), "") << c.label << ", after Exit"; }
        EXPECT_TRUE(s.RecordVersion() == "Release" && s.GameFileExists("tlf.icd")) << c.label;
        EXPECT_EQ(CountTemporaryFiles(s.gameFolder), 0) << c.label;
#ifndef _WIN32
        if (gHeldLock >= 0) close(gHeldLock);
        gHeldLock = -1;
#endif
    }
}

// The old files stay kept aside until the end, so every new file is on the disk beside them at
// once: the peak is the whole of the new files in 4 KiB units, a marker's unit each, the journal's.
TEST(Integrity, TheSpaceNeededIsEveryNewFileBesideTheKeptOnes) {
    const int64_t sizes[] = {0, 1, 4096, 4097, 1 << 20};
    const int64_t kib = 1024;
    EXPECT_EQ(SpaceNeeded(sizes, 0), 4 * kib);
    EXPECT_EQ(SpaceNeeded(sizes, 2), 4 * kib + 4 * kib + 8 * kib);
    EXPECT_EQ(SpaceNeeded(sizes, 5), 4 * kib + (0 + 4 + 4 + 8 + 1024) * kib + 5 * 4 * kib);
}

TEST(Integrity, SystemErrorsMapToTheReasonsAPlayerCanActOn) {
    struct { int error; uint32_t windowsError; WriteFailureReason reason; } const table[] = {
        {EACCES, 5, WriteFailureAccessDenied}, {EROFS, 19, WriteFailureAccessDenied}, {EBUSY, 32, WriteFailureInUse},
        {ENOSPC, 112, WriteFailureDiskFull},   {EFBIG, 39, WriteFailureDiskFull},     {ENOENT, 3, WriteFailureFolderMissing},
        {ENAMETOOLONG, 206, WriteFailureNameTooLong}, {EIO, 1117, WriteFailureOther}};
    for (const auto& t : table) {
        EXPECT_EQ(WriteFailureFromErrno(t.error), t.reason) << t.error;
        EXPECT_EQ(WriteFailureFromWindowsError(t.windowsError), t.reason) << t.windowsError;
    }
}

// Every reason in every language: the page holds the file, the reason and the advice, each line
// within the inset's width, no line dropped for want of a slot, and a glyph for every letter.
TEST(Integrity, WriteFailurePageFitsInEveryLanguage) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    for (int language = 0; language < LanguageCount; ++language) {
        s.App().language = language;
        for (int32_t reason = WriteFailureAccessDenied; reason <= WriteFailureReasonCount; ++reason) {
            WriteFailureRecord& failure = s.App().lastWriteFailure = WriteFailureRecord{};
            failure.reason = reason == WriteFailureReasonCount ? WriteFailureDiskFull : static_cast<WriteFailureReason>(reason);
            if (reason == WriteFailureReasonCount) failure.bytesNeeded = 1234567890, failure.bytesFree = 98765432;
            else std::snprintf(failure.file, sizeof failure.file, "%s\\data\\nation_comp_history.dat", s.App().gameFolder);
            s.App().state = StateWriteFailed;
            s.App().Redraw();
            std::string page;
            int slot = 5;
            for (; slot < WizardSlotCount && s.App().buttons[slot] != nullptr; ++slot) {
                EXPECT_LE(TextWidth(1, s.App().buttons[slot]->label), 366 - 34) << language << " " << reason;
                page += std::string(s.App().buttons[slot]->label) + " ";
                for (const char* p = s.App().buttons[slot]->label; *p; ++p)
                    EXPECT_TRUE(*p == ' ' || gFramework.fontTable[1]->glyphs[static_cast<uint8_t>(*p)].bitmap) << int(uint8_t(*p));
            }
            EXPECT_LT(slot, WizardSlotCount) << language << " " << reason << ": " << page;
            const std::string advice = WriteFailureAdviceText(failure.reason)[language];
            EXPECT_NE(page.find(advice.substr(advice.rfind(' ') + 1)), std::string::npos) << page;
            EXPECT_NE(page.find(failure.file[0] ? "nation_comp_history.dat" : "1178 MB"), std::string::npos) << page;
        }
    }
}

}  // namespace
