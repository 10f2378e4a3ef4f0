// wizard_install_test.cpp: whole installs through the real wizard on real files: what lands in
// the game folder, the record and the installer's folder, on success and on failures during the
// update (the faults found before it starts: integrity_test.cpp).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/texts.h"
#include "package/update_file_table.h"
#include "platform/headless/headless.h"
#include "platform/platform_system.h"
#include "package/update_unit.h"
#include "tests/e2e/wizard_session.h"

namespace {

std::string ExpectedContents(int i) { return IsReadmeEntry(i) ? ReadmeContents(LanguageEnglish) : NewContents(i); }

// Number of leading entries that hold their new contents.
int InstalledPrefix(const WizardSession& s) {
    int n = 0;
    while (n < UpdateFileCount && s.GameFile(EntryPath(n)) == ExpectedContents(n)) ++n;
    return n;
}

// Without the checksum list "SHA256SUMS" (the updates of old deliveries), and with temporary files
// left by a killed run (removed) and by a live one (this process: kept).
TEST(WizardInstall, EveryFileIsReplacedTheRecordUpdatedAndNothingElseLeft) {
    WizardSession s;
    std::filesystem::remove(JoinNative(s.updateFolder, "SHA256SUMS"));
    const std::string dead = JoinNative(s.gameFolder, "data/~tlf99999999-3.tmp");
    const std::string live = JoinNative(s.gameFolder, "~tlf" + std::to_string(PlatformProcessId()) + "-77.tmp");
    ASSERT_TRUE(WriteFileText(dead, "left by a killed run") && WriteFileText(live, "being written right now"));
    ASSERT_TRUE(s.InstallToCompletion());
    for (int i = 0; i < UpdateFileCount; ++i) EXPECT_EQ(s.GameFile(EntryPath(i)), ExpectedContents(i)) << EntryPath(i);
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
    EXPECT_FALSE(s.GameFileExists("tlf.icd"));
    EXPECT_TRUE(FileExists(live));
    size_t files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(s.gameFolder)) files += entry.is_regular_file();
    EXPECT_EQ(files, UpdateFileCount + 1u) << "stray or missing files in the game folder (the live run's is kept)";
    // The readmes are copied, not moved: the delivered folder stays whole (fonts, readmes, update.dat).
    EXPECT_EQ(ListFolder(s.updateFolder).size(), 2u * LanguageCount + 1);
    EXPECT_TRUE(HeadlessMessageBoxes().empty());

    // Run again: with the record at the new version the update installs again.
    s.Shutdown();
    ResetFrameworkAndBackend();
    ASSERT_TRUE(s.Start() && s.ChooseLanguage(LanguageSwedish) && s.RunUpdate());
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_EQ(s.GameFile("readme.txt"), ReadmeContents(LanguageSwedish));
}

TEST(WizardInstall, ProgressGrowsOneEntryPerFrame) {
    WizardSession s;
    ASSERT_TRUE(s.Start() && s.ChooseLanguage() && s.ClickSlot(4));
    ASSERT_EQ(s.State(), StateUpdating);
    EXPECT_EQ(s.App().fileCounter, 0);
    ASSERT_TRUE(s.Frame());  // step 0, the source check
    const InstallerApp& app = s.App();
    // After step n the bar covers n x (boxWidth - 20) / 47 pixels of the trough, in blue 31.
    for (int n = 1; n <= 47; ++n) {
        ASSERT_TRUE(s.Frame());
        ASSERT_EQ(s.App().fileCounter, n + 1);
        const int end = app.boxX + 10 + n * (app.boxWidth - 20) / 47;
        EXPECT_EQ(HeadlessScreenPixel(end, app.boxY + 20), 31) << "end of the bar after step " << n;
        EXPECT_NE(HeadlessScreenPixel(end + 2, app.boxY + 20), 31) << "beyond the bar after step " << n;
        EXPECT_EQ(InstalledPrefix(s), n) << "after step " << n;
    }
    EXPECT_EQ(s.RecordVersion(), "Release");  // not before the finish step
    ASSERT_TRUE(s.Frame());
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
}

TEST(WizardInstall, APackageLostDuringTheUpdatePutsTheGameBackAndSaysSo) {
    WizardSession s;
    ASSERT_TRUE(s.Start() && s.ChooseLanguage() && s.ClickSlot(4));
    ASSERT_TRUE(s.Frame() && s.Frame() && s.Frame());  // the check, entries 0 and 1
    std::filesystem::remove(JoinNative(s.updateFolder, "update.dat"));
    ASSERT_TRUE(s.Frame());
    EXPECT_EQ(s.State(), StateSourceMissing);
    EXPECT_EQ(GameDiffersFrom(s, false), "");
    EXPECT_EQ(s.Caption(8), GameLeftAsItWasText[LanguageEnglish]);  // under the file at fault
}

TEST(WizardInstall, NeitherAMissingPicturesFolderNorAnotherLanguagesReadmeStopsTheUpdate) {
    WizardSession s;
    std::filesystem::remove_all(JoinNative(s.gameFolder, "pictures"));
    std::filesystem::remove(JoinNative(s.updateFolder, ReadmeFileName[LanguageEnglish]));
    ASSERT_TRUE(s.Start() && s.ChooseLanguage(LanguageItalian) && s.RunUpdate());
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_FALSE(s.GameFileExists("pictures"));
    EXPECT_EQ(s.GameFile("data/player_setup.cfg"), NewContents(10));
    EXPECT_EQ(s.GameFile("readme.txt"), ReadmeContents(LanguageItalian));
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
}

// The same folder resumes at the failing entry; a typed one gets the whole update, and the first
// folder goes back as it was (half an update in each would be two broken games).
TEST(WizardInstall, AfterAWriteFailureTheUpdateResumesInTheSameFolderOrStartsAgainInATypedOne) {
    for (bool typed : {false, true}) {
        SCOPED_TRACE(typed ? "typed folder" : "same folder");
        WizardSession s;
        std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
        const std::string other = s.root.Join("o");
        for (const char* sub : {"", "/data", "/pictures"}) ASSERT_TRUE(MakeFolder(other + sub));
        ASSERT_TRUE(s.Start() && s.ChooseLanguage() && s.RunUpdate());
        ASSERT_EQ(s.State(), StateWriteFailed);
        EXPECT_EQ(s.GameFile("tlf.exe"), NewContents(0));
        ASSERT_TRUE(MakeFolder(JoinNative(s.gameFolder, "data")));
        ASSERT_TRUE(WriteFileText(JoinNative(s.gameFolder, "tlf.exe"), "changed by the player\n"));
        ASSERT_TRUE(s.ClickSlot(3));  // < Back to the folder page
        if (typed) std::snprintf(s.App().gameFolder, WizardTextSize, "%s", other.c_str());  // may not fit the field
        ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
        ASSERT_EQ(s.State(), StateConfirmVersions);
        ASSERT_TRUE(s.RunUpdate());
        EXPECT_EQ(s.State(), StateCompleted);
        EXPECT_EQ(s.GameFile("tlf.exe"), typed ? OldContents(0) : "changed by the player\n");
        EXPECT_EQ(s.GameFileExists("tlf.icd"), typed);
        if (typed) s.gameFolder = other;  // where the update went
        for (int i = typed ? 0 : 1; i < UpdateFileCount; ++i) EXPECT_EQ(s.GameFile(EntryPath(i)), ExpectedContents(i)) << EntryPath(i);
        EXPECT_FALSE(std::filesystem::exists(JoinNative(s.gameFolder, UpdateKeptFolderName)));
    }
}

TEST(WizardInstall, EscapeOrExitDuringTheUpdateLeavesTheGameAsItWas) {
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Exit");
        WizardSession s;
        ASSERT_TRUE(s.Start() && s.ChooseLanguage() && s.ClickSlot(4));
        for (int i = 0; i < 6; ++i) ASSERT_TRUE(s.Frame());
        EXPECT_GE(InstalledPrefix(s), 5);
        EXPECT_FALSE(escape ? s.PressKey(HeadlessKeyEscape) : s.ClickSlot(0));
        s.Shutdown();
        EXPECT_EQ(GameDiffersFrom(s, false), "");
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
}

}  // namespace
