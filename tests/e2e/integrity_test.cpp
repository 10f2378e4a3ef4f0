// integrity_test.cpp: the checks an update makes before it changes the game, driven through the
// real wizard on real files: a missing or damaged source found at step 0, damaged bytes caught by
// the checksum list "SHA256SUMS" before the entry's file changes, a malformed or short list and
// too little space refused at step 0, a failed write leaving no temporary file; and the
// write-failure page telling which file, why and what to do, fitting in every language.
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

std::string NewEntryText(int i) { return IsReadmeEntry(i) ? ReadmeContents(LanguageEnglish) : NewContents(i); }

int TemporaryFilesIn(const std::string& folder) {
    int count = 0;
    for (const auto& e : fs::recursive_directory_iterator(folder)) count += e.path().filename().string().rfind("~tlf", 0) == 0;
    return count;
}

struct Case {
    const char* label;
    std::function<void(WizardSession&)> prepare;
    int16_t page;
    int stopsAtEntry;        // the entry whose step failed (its file untouched); -1: none ran
    const char* named;       // the file the page names
    WriteFailureReason reason = WriteFailureNone;  // on the write-failure page: why (None: as the system says)
};

const Case kCases[] = {
    {"no update.dat", [](WizardSession& s) { fs::remove(JoinNative(s.updateFolder, "update.dat")); }, StateSourceMissing, -1, "update.dat"},
    {"update.dat a byte short", [](WizardSession& s) { Rewrite(s, "update.dat", [](std::string& b) { b.pop_back(); }); }, StateSourceMissing, -1, "update.dat"},
    {"negative slot", [](WizardSession& s) { Rewrite(s, "update.dat", [](std::string& b) { b[4 * 3 + 3] = '\x80'; }); }, StateSourceMissing, -1, "update.dat"},
    {"readme missing", [](WizardSession& s) { fs::remove(JoinNative(s.updateFolder, "readme_eng.txt")); }, StateSourceMissing, -1, "readme_eng.txt"},
    {"byte flipped in tlf.exe", [](WizardSession& s) { FlipByteOfEntry(s, 0); }, StateSourceMissing, 0, "tlf.exe"},
    {"byte flipped in city.dat", [](WizardSession& s) { FlipByteOfEntry(s, 12); }, StateSourceMissing, 12, "data\\city.dat"},
    {"byte flipped in the last entry", [](WizardSession& s) { FlipByteOfEntry(s, 46); }, StateSourceMissing, 46, "data\\fancluburls.txt"},
    {"readme changed", [](WizardSession& s) { WriteFileText(JoinNative(s.updateFolder, "readme_eng.txt"), "changed\n"); },
     StateSourceMissing, 44, "readme_eng.txt"},
    {"list line malformed", [](WizardSession& s) { Rewrite(s, "SHA256SUMS", [](std::string& t) { t.insert(0, "not a digest  tlf.exe\n"); }); },
     StateSourceMissing, -1, "SHA256SUMS"},
    {"list misses club.dat", [](WizardSession& s) { Rewrite(s, "SHA256SUMS", [](std::string& t) { t.erase(t.find("  club.dat") - 64, 64 + 11); }); },
     StateSourceMissing, -1, "SHA256SUMS"},
    {"1,000 bytes free", [](WizardSession& s) { s.App().freeSpaceOf = [](const char*) -> int64_t { return 1000; }; },
     StateWriteFailed, -1, "", WriteFailureDiskFull},
    {"data folder missing", [](WizardSession& s) { fs::remove_all(JoinNative(s.gameFolder, "data")); }, StateWriteFailed, 1, "data\\euro.cfg", WriteFailureFolderMissing},
    {"readme.txt a folder", [](WizardSession& s) { fs::remove(JoinNative(s.gameFolder, "readme.txt")); MakeFolder(JoinNative(s.gameFolder, "readme.txt")); },
     StateWriteFailed, 44, "readme.txt"},
};

TEST(Integrity, EachFaultStopsBeforeItsFileChangesAndNamesIt) {
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
        EXPECT_STREQ(named, c.named) << c.label;
        if (c.page != StateWriteFailed || c.reason != WriteFailureNone) { EXPECT_EQ(failure.reason, c.reason) << c.label; }
        for (int i = 0; i < UpdateFileCount; ++i) {
            std::string text;
            if (c.stopsAtEntry >= 0 && i < c.stopsAtEntry && !IsPicturesConfigEntry(i)) {
                EXPECT_EQ(s.GameFile(EntryPath(i)), NewEntryText(i)) << c.label << " " << i;
            } else if (i >= c.stopsAtEntry && s.ReadGameFile(EntryPath(i), &text)) {
                EXPECT_EQ(text, OldContents(i)) << c.label << " " << i;
            }
        }
        EXPECT_TRUE(s.RecordVersion() == "Release" && s.GameFileExists("tlf.icd")) << c.label;
        if (c.page == StateWriteFailed && c.stopsAtEntry < 0) {
            EXPECT_EQ(failure.bytesFree, 1000) << c.label;
            EXPECT_GT(failure.bytesNeeded, 1000) << c.label;
        }
        EXPECT_EQ(TemporaryFilesIn(s.gameFolder), 0) << c.label;
    }
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
