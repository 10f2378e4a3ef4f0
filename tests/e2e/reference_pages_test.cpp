// reference_pages_test.cpp: the pages the end-to-end scripts of the real programs expect on the
// screen (tests/scripts/wizard_test.sh), rendered here through the
// headless backend from the same states, so the scripts can compare what Wine or SDL shows with
// what the portable code drew.
//
// Skipped unless TLF_REFERENCE_PAGES names a folder (and the build writes PNG files). Each page is
// reached by driving the wizard as the scripts drive the real program, in English:
//   choose_language.png    the first page
//   confirm_versions.png   the version page, the record's "Version" being TLF_REFERENCE_VERSION
//                          ("Release" when unset)
//   quick_start_prompt.png completed.png   after an update of a game with quick-start files
//   source_missing.png     with no "update.dat"
//   damaged_entry.png      with a byte of "tlf.exe" changed inside "update.dat": the page names it
//   write_failed.png       when a file cannot be written into the game
//   enter_folder.png       after "< Back" from there, with TLF_REFERENCE_FOLDER typed into the field
//                          (only when that variable is set)
//
//   TLF_REFERENCE_PAGES=<folder> TLF_REFERENCE_VERSION=<text> TLF_REFERENCE_FOLDER=<text>
//   build/linux/tests/tests_e2e --gtest_filter='ReferencePages.*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

std::string Variable(const char* name, const char* fallback = "") {
    const char* value = std::getenv(name);
    return value != nullptr ? value : fallback;
}

class ReferencePages : public ::testing::Test {
protected:
    void SetUp() override {
        folder = Variable("TLF_REFERENCE_PAGES");
        if (folder.empty()) GTEST_SKIP() << "TLF_REFERENCE_PAGES names no folder";
        if (!HeadlessCanWritePng()) GTEST_SKIP() << "this build writes no PNG files";
        version = Variable("TLF_REFERENCE_VERSION", "Release");
    }

    // Writes the frame buffer as it stands (what the next presentation shows) as <name>.png.
    void Save(const char* name) {
        const std::string path = folder + "/" + name + ".png";
        EXPECT_TRUE(WriteRgb555Png(path.c_str(), gFramework.frameBuffer, gFramework.pitch, gFramework.screenWidth,
                                   gFramework.screenHeight))
            << path;
    }

    // A session on its way to the version page with the record's version the scripts use.
    void StartAtVersionPage(WizardSession& s) {
        s.SetRecord("Version", version);
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
        ASSERT_EQ(s.State(), StateConfirmVersions);
    }

    std::string folder;
    std::string version;
};

TEST_F(ReferencePages, TheWayThroughAnUpdateWithQuickStartFiles) {
    WizardSession s;
    s.AddQuickStartFiles();
    s.SetRecord("Version", version);
    ASSERT_TRUE(s.Start());
    Save("choose_language");
    ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
    ASSERT_EQ(s.State(), StateConfirmVersions);
    Save("confirm_versions");
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    ASSERT_TRUE(s.RunUntilState(StateQuickStartPrompt));
    Save("quick_start_prompt");
    ASSERT_TRUE(s.ClickSlot(4));  // Yes
    ASSERT_EQ(s.State(), StateCompleted);
    Save("completed");
}

TEST_F(ReferencePages, NoPackage) {
    WizardSession s;
    std::filesystem::remove(JoinNative(s.updateFolder, "update.dat"));
    StartAtVersionPage(s);
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    ASSERT_TRUE(s.RunUntilState(StateSourceMissing));
    Save("source_missing");
}

TEST_F(ReferencePages, DamagedEntry) {
    WizardSession s;
    std::vector<unsigned char> package;
    ASSERT_TRUE(ReadFileBytes(JoinNative(s.updateFolder, "update.dat"), &package));
    package[188 + NewContents(0).size() / 2] ^= 0x20;  // as tests/scripts/integrity_checks.sh damages it
    ASSERT_TRUE(WriteFileBytes(JoinNative(s.updateFolder, "update.dat"), package));
    StartAtVersionPage(s);
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    ASSERT_TRUE(s.RunUntilState(StateSourceMissing));
    ASSERT_STREQ(s.App().faultyFile, "tlf.exe");
    Save("damaged_entry");
}

TEST_F(ReferencePages, WriteFailureAndTheTypedFolder) {
    WizardSession s;
    std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
    StartAtVersionPage(s);
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    ASSERT_TRUE(s.RunUntilState(StateWriteFailed));
    Save("write_failed");

    const std::string typed = Variable("TLF_REFERENCE_FOLDER");
    if (typed.empty()) return;
    ASSERT_TRUE(s.ClickSlot(3));  // < Back
    ASSERT_EQ(s.State(), StateEnterFolder);
    while (s.App().gameFolder[0] != '\0') ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    ASSERT_TRUE(s.Type(typed));
    ASSERT_EQ(std::string(s.App().gameFolder), typed) << "the folder does not fit the field";
    Save("enter_folder");
}

}  // namespace
