// program_test.cpp: the installer as the real entry and main loop (RunWinMain) run it, with
// nothing but a script of window messages: install mode's needs, and a whole install by clicks
// and keys. Pack mode's messages and exit codes are checked on the real program
// (tests/scripts/*_pack_test.sh).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "gfx/button.h"
#include "package/update_file_table.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/wizard_session.h"

namespace fs = std::filesystem;

namespace {

class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() { ResetFrameworkAndBackend(); }
    ~ProgramTest() override { ResetFrameworkAndBackend(); }

    void WriteLooseFiles() {
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) { ASSERT_TRUE(WriteFileText(folder.Join(UpdateFileName(i)), UpdateFileName(i))); }
        }
    }
    void CopyFonts() {
        for (const auto& font : fs::directory_iterator(CommittedFontFolder())) {
            if (font.path().extension() == ".fnt") fs::copy_file(font.path(), fs::path(folder.path) / font.path().filename());
        }
    }
    int Run(const char* commandLine) {
        ScopedCurrentFolder here(folder.path);
        return RunWinMain(nullptr, commandLine);
    }
    void ExpectOneBox(const char* caption, const char* text) {
        ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes()[0].caption, caption);
        EXPECT_EQ(HeadlessMessageBoxes()[0].text, text);
        EXPECT_EQ(gFramework.registeredApp, nullptr);
        EXPECT_EQ(gFramework.registeredMouse, nullptr);
        EXPECT_EQ(gFramework.frameBuffer, nullptr);
    }

    TempFolder folder;
};

TEST_F(ProgramTest, InstallModeNeedsFontsAndAWindowAndAnUpperCasePackIsInstallMode) {
    WriteLooseFiles();
    EXPECT_EQ(Run("-PACK"), 0);  // no fonts
    ExpectOneBox("Error", "Unable to open graphics");
    EXPECT_FALSE(FileExists(folder.Join("update.dat")));

    ResetFrameworkAndBackend();
    CopyFonts();
    HeadlessSetWindowCreationFails(true);
    EXPECT_EQ(Run(""), 0);
    ExpectOneBox("Error", "Unable to open graphics");
}

TEST(WizardProgram, ScriptedInstallByClicksAndKeysFromStartToFinish) {
    // The Button centres, measured on a first run with the same fonts.
    int english[2], next[2];
    {
        WizardSession probe;
        ASSERT_TRUE(probe.Start());
        const Button* b = probe.App().buttons[1];
        english[0] = b->x + b->width / 2, english[1] = b->y + b->height / 2;
        ASSERT_TRUE(probe.ChooseLanguage(LanguageEnglish));
        b = probe.App().buttons[4];  // "Next >", and "Finish" at the same place later
        next[0] = b->x + b->width / 2, next[1] = b->y + b->height / 2;
    }
    WizardSession s;
    s.AddQuickStartFiles();
    ScopedCurrentFolder here(s.updateFolder);
    HeadlessEndFrame();  // the first paint: the language page
    HeadlessPostClick(english[0], english[1]);
    HeadlessPostClick(next[0], next[1]);
    for (int i = 0; i < 60; ++i) HeadlessEndFrame();  // 49 steps need 49 frames
    HeadlessPostKeyPress(HeadlessKeyEnter);           // "Yes": delete the quick-start files
    HeadlessPostClick(next[0], next[1]);              // "Finish"
    HeadlessPostClose();                              // only reached if Finish did not end it
    EXPECT_EQ(RunWinMain(nullptr, ""), 0);

    EXPECT_GT(HeadlessQueuedMessageCount(), 0) << "Finish ended the program before the close";
    EXPECT_EQ(HeadlessOpenedDocuments(), std::vector<std::string>{s.gameFolder + "\\readme.txt"});
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
    EXPECT_EQ(HeadlessTitles().front(), "Tallyfield Update");
    for (int i = 0; i < UpdateFileCount; ++i) {
        EXPECT_EQ(s.GameFile(EntryPath(i)), IsReadmeEntry(i) ? ReadmeContents(0) : NewContents(i)) << EntryPath(i);
    }
    EXPECT_FALSE(s.GameFileExists("qstart/league.qst"));
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
    EXPECT_FALSE(HeadlessGetWindow().exists);
    EXPECT_EQ(gFramework.registeredApp, nullptr);
}

}  // namespace
