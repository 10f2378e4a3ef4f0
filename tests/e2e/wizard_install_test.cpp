// wizard_install_test.cpp: whole installs through the real wizard on real files: what lands in
// the game folder, the record and the installer's folder, on success and on every failure.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "package/update_file_table.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

// Path of entry i below the game folder, with '/' between parts.
std::string EntryPath(int i) {
    std::string sub = UpdateFileSubfolder(i);
    return (sub == "\\" ? std::string() : sub.substr(1, sub.size() - 2) + "/") + UpdateFileName(i);
}

std::string ExpectedContents(int i, int language = LanguageEnglish) {
    return IsReadmeEntry(i) ? ReadmeContents(language) : NewContents(i);
}

void ExpectAllEntriesInstalled(const WizardSession& s, int language = LanguageEnglish) {
    for (int i = 0; i < UpdateFileCount; ++i) {
        EXPECT_EQ(s.GameFile(EntryPath(i)), ExpectedContents(i, language)) << EntryPath(i);
    }
}

// No temporary file of a replacement may stay behind in any folder of the game.
void ExpectNoStrayFiles(const WizardSession& s) {
    size_t count = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(s.gameFolder)) {
        if (entry.is_regular_file()) ++count;
    }
    // 47 entries, plus nothing else but what the test put there beyond them.
    EXPECT_EQ(count, static_cast<size_t>(UpdateFileCount)) << "stray or missing files in the game folder";
}

// Starts the installer, chooses the language and runs the update until it leaves its page.
void StartAndUpdate(WizardSession& s, int language = LanguageEnglish) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage(language));
    ASSERT_TRUE(s.RunUpdate());
}

// Starts the installer in English and clicks Next on the version page: the update's first step
// runs in the next frame.
void StartUpdating(WizardSession& s) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_TRUE(s.ClickSlot(4));
    ASSERT_EQ(s.State(), StateUpdating);
}

TEST(WizardInstall, EnglishInstallReplacesEveryFileAndRecordsTheVersion) {
    WizardSession s;
    s.InstallToCompletion();
    ExpectAllEntriesInstalled(s);
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
    EXPECT_FALSE(s.GameFileExists("tlf.icd"));
    EXPECT_EQ(s.App().fileCounter, UpdateStepFinish);
    ExpectNoStrayFiles(s);
    // The readme is copied, not moved: the delivered folder stays whole.
    for (int i = 0; i < LanguageCount; ++i) EXPECT_TRUE(FileExists(JoinNative(s.updateFolder, ReadmeFileName[i]))) << i;
    EXPECT_TRUE(FileExists(JoinNative(s.updateFolder, "update.dat")));
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
}

TEST(WizardInstall, AnotherLanguageInstallsItsOwnReadme) {
    WizardSession s;
    StartAndUpdate(s, LanguageSwedish);
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_EQ(s.GameFile("readme.txt"), ReadmeContents(LanguageSwedish));
    EXPECT_EQ(HeadlessGetWindow().title, WindowTitle[LanguageSwedish]);
}

TEST(WizardInstall, RunningAgainInTheSameLanguageWorks) {
    WizardSession s;
    s.InstallToCompletion();
    s.Shutdown();
    ResetFrameworkAndBackend();
    // Second run: the record now says the new version, the readme is still in the update folder.
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
    EXPECT_STREQ(s.App().installedVersion, NewVersionText);
    ASSERT_TRUE(s.RunUpdate());
    EXPECT_EQ(s.State(), StateCompleted);
    ExpectAllEntriesInstalled(s);
}

TEST(WizardInstall, ProgressGrowsOneEntryPerFrame) {
    WizardSession s;
    StartUpdating(s);  // the click on Next is polled after the frame's update step
    EXPECT_EQ(s.App().fileCounter, 0);
    ASSERT_TRUE(s.Frame());  // step 0, the source check
    EXPECT_EQ(s.App().fileCounter, 1);
    const InstallerApp& app = s.App();
    // After step n the bar covers n x (boxWidth - 20) / 47 pixels of the trough, in blue 31.
    for (int n = 1; n <= 47; ++n) {
        ASSERT_TRUE(s.Frame());
        ASSERT_EQ(s.App().fileCounter, n + 1);
        const int length = n * (app.boxWidth - 20) / 47;
        const int y = app.boxY + 20;
        EXPECT_EQ(HeadlessScreenPixel(app.boxX + 10 + length, y), 31) << "end of the bar after step " << n;
        EXPECT_NE(HeadlessScreenPixel(app.boxX + 10 + length + 2, y), 31) << "beyond the bar after step " << n;
        EXPECT_EQ(s.GameFile(EntryPath(n - 1)), ExpectedContents(n - 1)) << "entry " << n - 1 << " after step " << n;
        if (n < 47) {
            EXPECT_NE(s.GameFile(EntryPath(n)), ExpectedContents(n)) << "entry " << n << " too early";
        }
    }
    EXPECT_EQ(s.State(), StateUpdating);
    EXPECT_EQ(s.RecordVersion(), "Release");  // not before the finish step
    ASSERT_TRUE(s.Frame());
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
}

TEST(WizardInstall, AMissingTruncatedOrDamagedPackageIsFoundBeforeAnyGameFileIsTouched) {
    for (int damage = 0; damage < 3; ++damage) {
        SCOPED_TRACE(damage);
        WizardSession s;
        const std::string package = JoinNative(s.updateFolder, "update.dat");
        if (damage == 0) {
            std::filesystem::remove(package);
        } else if (damage == 1) {
            std::filesystem::resize_file(package, std::filesystem::file_size(package) - 1);
        } else {
            std::vector<unsigned char> bytes;
            ASSERT_TRUE(ReadFileBytes(package, &bytes));
            bytes[4 * 3 + 3] = 0x80;  // slot 3 becomes negative
            ASSERT_TRUE(WriteFileBytes(package, bytes));
        }
        StartAndUpdate(s);
        EXPECT_EQ(s.State(), StateSourceMissing);
        EXPECT_EQ(s.App().fileCounter, 0);
        for (int i : {0, 9, 12, 44, 45}) EXPECT_EQ(s.GameFile(EntryPath(i)), OldContents(i)) << EntryPath(i);
        EXPECT_TRUE(s.GameFileExists("tlf.icd"));
        EXPECT_EQ(s.RecordVersion(), "Release");
    }
}

TEST(WizardInstall, AMissingLanguageReadmeIsFoundAtTheSourceCheckOnlyForItsLanguage) {
    for (int language : {LanguageFrench, LanguageItalian}) {
        WizardSession s;
        std::filesystem::remove(JoinNative(s.updateFolder, ReadmeFileName[LanguageFrench]));
        StartAndUpdate(s, language);
        if (language == LanguageFrench) {
            EXPECT_EQ(s.State(), StateSourceMissing);
            EXPECT_EQ(s.GameFile("tlf.exe"), OldContents(0));
            EXPECT_EQ(s.GameFile("readme.txt"), OldContents(44));
        } else {
            EXPECT_EQ(s.State(), StateCompleted);
            EXPECT_EQ(s.GameFile("readme.txt"), ReadmeContents(LanguageItalian));
        }
    }
}

TEST(WizardInstall, PackageLostDuringTheUpdateStopsAtThatEntry) {
    // A package fault while extracting (the package vanished after the check) ends on the
    // source page; the entries before stay installed, the failing one keeps its old file.
    WizardSession s;
    StartUpdating(s);
    ASSERT_TRUE(s.Frame());  // step 0: the check
    ASSERT_TRUE(s.Frame());  // step 1: entry 0
    ASSERT_EQ(s.App().fileCounter, 2);
    std::filesystem::remove(JoinNative(s.updateFolder, "update.dat"));
    ASSERT_TRUE(s.Frame());  // step 2: entry 1 fails
    EXPECT_EQ(s.State(), StateSourceMissing);
    EXPECT_EQ(s.GameFile("tlf.exe"), NewContents(0));
    EXPECT_FALSE(s.GameFileExists("data/euro.cfg"));
    EXPECT_EQ(s.RecordVersion(), "Release");
}

TEST(WizardInstall, PicturesConfigIntoAMissingFolderIsSkipped) {
    WizardSession s;
    std::filesystem::remove_all(JoinNative(s.gameFolder, "pictures"));
    StartAndUpdate(s);
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_FALSE(s.GameFileExists("pictures"));
    EXPECT_EQ(s.GameFile("data/player_setup.cfg"), NewContents(10));  // the entry after it
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
}

TEST(WizardInstall, WriteFailureKeepsTheOldFileAndRetryResumesAtTheFailingEntry) {
    // "data" is missing: entry 0 (tlf.exe, in the game folder itself) installs, entry 1 cannot.
    WizardSession s;
    std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
    StartAndUpdate(s);
    ASSERT_EQ(s.State(), StateWriteFailed);
    EXPECT_EQ(s.App().fileCounter, 2);
    EXPECT_EQ(s.GameFile("tlf.exe"), NewContents(0));

    // The player mends the folder, goes back through the folder page and the version page.
    ASSERT_TRUE(MakeFolder(JoinNative(s.gameFolder, "data")));
    ASSERT_TRUE(WriteFileText(JoinNative(s.gameFolder, "tlf.exe"), "changed by the player\n"));
    ASSERT_TRUE(s.ClickSlot(3));  // < Back
    ASSERT_EQ(s.State(), StateEnterFolder);
    ASSERT_TRUE(s.ClickSlot(4));  // Next >
    ASSERT_EQ(s.State(), StateConfirmVersions);
    ASSERT_TRUE(s.RunUpdate());
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_EQ(s.GameFile("tlf.exe"), "changed by the player\n");  // entry 0 was not installed again
    for (int i = 1; i < UpdateFileCount; ++i) EXPECT_EQ(s.GameFile(EntryPath(i)), ExpectedContents(i)) << EntryPath(i);
}

TEST(WizardInstall, RetryIntoATypedFolderInstallsTheRestThere) {
    WizardSession s;
    std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
    const std::string other = s.root.Join("other");
    ASSERT_TRUE(MakeFolder(other));
    ASSERT_TRUE(MakeFolder(JoinNative(other, "data")));
    ASSERT_TRUE(MakeFolder(JoinNative(other, "pictures")));
    StartAndUpdate(s);
    ASSERT_EQ(s.State(), StateWriteFailed);
    ASSERT_TRUE(s.ClickSlot(3));
    ASSERT_EQ(s.State(), StateEnterFolder);
    // Clear the field and type the other folder.
    const size_t length = std::string(s.App().gameFolder).size();
    for (size_t i = 0; i < length; ++i) {
        ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    }
    ASSERT_STREQ(s.App().gameFolder, "");
    if (other.size() * 9 > static_cast<size_t>(s.App().boxWidth)) {
        // A long temporary path may not fit the field; the rest of the test needs it whole.
        std::snprintf(s.App().gameFolder, WizardTextSize, "%s", other.c_str());
        s.App().Redraw();
    } else {
        ASSERT_TRUE(s.Type(other));
    }
    ASSERT_EQ(std::string(s.App().gameFolder), other);
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));  // Next
    ASSERT_EQ(s.State(), StateConfirmVersions);
    ASSERT_TRUE(s.RunUpdate());
    EXPECT_EQ(s.State(), StateCompleted);
    EXPECT_FALSE(FileExists(JoinNative(other, "tlf.exe")));  // entry 0 is not installed again
    EXPECT_EQ(s.GameFile("tlf.exe"), NewContents(0));
    std::vector<unsigned char> bytes;
    ASSERT_TRUE(ReadFileBytes(JoinNative(other, "data/euro.cfg"), &bytes));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), NewContents(1));
    EXPECT_FALSE(s.GameFileExists("tlf.icd") && FileExists(JoinNative(other, "tlf.icd")));
}

TEST(WizardInstall, ReadmeThatCannotBeReplacedLeadsToTheWriteFailurePage) {
    // A folder stands where the readme goes: the copy cannot replace it.
    WizardSession s;
    std::filesystem::remove(JoinNative(s.gameFolder, "readme.txt"));
    ASSERT_TRUE(MakeFolder(JoinNative(s.gameFolder, "readme.txt")));
    StartAndUpdate(s);
    EXPECT_EQ(s.State(), StateWriteFailed);
    EXPECT_EQ(s.App().fileCounter, 45);  // step 45 installs entry 44, the readme
    EXPECT_EQ(s.GameFile("data/424_v1.pct"), NewContents(43));
    EXPECT_EQ(s.GameFile("changes.txt"), OldContents(45));
    EXPECT_TRUE(std::filesystem::is_directory(JoinNative(s.gameFolder, "readme.txt")));
    const std::vector<std::string> left = {"changes.txt", "data", "pictures", "readme.txt", "tlf.exe", "tlf.icd"};
    EXPECT_EQ(ListFolder(s.gameFolder), left) << "no temporary file stays behind";
    EXPECT_TRUE(FileExists(JoinNative(s.updateFolder, ReadmeFileName[LanguageEnglish])));
    EXPECT_EQ(s.RecordVersion(), "Release");
}

TEST(WizardInstall, ReadOnlyGameFilesAreReplaced) {
    WizardSession s;
    const std::string exe = JoinNative(s.gameFolder, "tlf.exe");
    std::filesystem::permissions(exe, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                          std::filesystem::perms::others_read);
    std::filesystem::permissions(JoinNative(s.gameFolder, "tlf.icd"), std::filesystem::perms::owner_read);
    s.InstallToCompletion();
    EXPECT_EQ(s.GameFile("tlf.exe"), NewContents(0));
    EXPECT_FALSE(s.GameFileExists("tlf.icd"));
}

TEST(WizardInstall, QuickStartYesByEnterOrClickDeletesTheFilesAndNoKeepsThem) {
    // Yes is in slot 4, where Enter presses, though it stands on the left.
    const struct {
        int slot;  // -1: Enter
        const char* caption;
        bool deleted;
    } answers[] = {{-1, "Yes", true}, {4, "Yes", true}, {3, "No", false}};
    for (const auto& answer : answers) {
        SCOPED_TRACE(answer.slot);
        WizardSession s;
        s.AddQuickStartFiles();
        StartAndUpdate(s);
        ASSERT_EQ(s.State(), StateQuickStartPrompt);
        if (answer.slot >= 0) {
            ASSERT_EQ(s.Caption(answer.slot), answer.caption);
        }
        ASSERT_TRUE(answer.slot < 0 ? s.PressKey(HeadlessKeyEnter) : s.ClickSlot(answer.slot));
        EXPECT_EQ(s.State(), StateCompleted);
        EXPECT_EQ(s.GameFileExists("qstart/league.qst"), !answer.deleted);
        EXPECT_EQ(s.GameFileExists("qstart/cup.qst"), !answer.deleted);
        EXPECT_TRUE(s.GameFileExists("qstart/notes.txt"));
    }
}

TEST(WizardInstall, EscapeOrExitDuringTheUpdateStopsAfterTheCurrentEntry) {
    // Escape after step 5: the key arrives in step 6's pump, step 7 (entry 6) still runs. Exit
    // right after Next: its click takes three frames (steps 0 to 2, entry 1 the last).
    for (bool escape : {true, false}) {
        SCOPED_TRACE(escape ? "Escape" : "Exit");
        WizardSession s;
        StartUpdating(s);
        int lastEntry = 1;
        if (escape) {
            for (int i = 0; i < 6; ++i) ASSERT_TRUE(s.Frame());
            HeadlessPostKeyPress(HeadlessKeyEscape);
            ASSERT_TRUE(s.Frame());
            EXPECT_FALSE(s.Frame());
            lastEntry = 6;
        } else {
            EXPECT_FALSE(s.ClickSlot(0));
        }
        EXPECT_EQ(s.App().fileCounter, lastEntry + 2);
        EXPECT_EQ(s.GameFile(EntryPath(lastEntry)), NewContents(lastEntry));
        EXPECT_FALSE(s.GameFileExists(EntryPath(lastEntry + 1)));
        EXPECT_EQ(s.RecordVersion(), "Release");
        EXPECT_TRUE(s.GameFileExists("tlf.icd"));
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
}

TEST(WizardInstall, FinishExitAndEnterOnTheCompletedPageOpenTheReadmeAndEscapeDoesNot) {
    for (int input : {4, 0, -HeadlessKeyEnter, -HeadlessKeyEscape}) {
        SCOPED_TRACE(input);
        WizardSession s;
        s.InstallToCompletion();
        EXPECT_FALSE(input >= 0 ? s.ClickSlot(input) : s.PressKey(-input));
        if (input == -HeadlessKeyEscape) {
            EXPECT_TRUE(HeadlessOpenedDocuments().empty());
        } else {
            ASSERT_EQ(HeadlessOpenedDocuments().size(), 1u);
            EXPECT_EQ(HeadlessOpenedDocuments()[0], s.gameFolder + "\\readme.txt");
        }
    }
}

}  // namespace
