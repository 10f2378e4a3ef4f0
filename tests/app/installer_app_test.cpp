// installer_app_test.cpp: the installer application made and destroyed by the real entry
// (RunWinMain) in both modes, through the headless window: the messages it shows, the window it
// opens, its exit code, and what it leaves registered.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/installer_app.h"
#include "app/texts.h"
#include "framework/exit_code.h"
#include "framework/framework_state.h"
#include "framework/mouse.h"
#include "framework/qbio.h"
#include "package/update_file_table.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"
#include "tests/support/test_files.h"

namespace fs = std::filesystem;

namespace {

void ResetFrameworkAndBackend() {
    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    HeadlessResetCursors();
}

std::string CommittedFonts() {
#ifdef _WIN32
    return std::string("Z:") + TLF_SOURCE_DIR + "/data/fonts";
#else
    return std::string(TLF_SOURCE_DIR) + "/data/fonts";
#endif
}

class InstallerAppTest : public ::testing::Test {
protected:
    InstallerAppTest() { ResetFrameworkAndBackend(); }
    ~InstallerAppTest() override { ResetFrameworkAndBackend(); }

    void CopyFonts() {
        for (const auto& entry : fs::directory_iterator(CommittedFonts())) {
            if (entry.path().extension() == ".fnt") fs::copy_file(entry.path(), fs::path(folder.path) / entry.path().filename());
        }
    }
    void WriteLooseFiles() {
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) {
                ASSERT_TRUE(WriteFileText(folder.Join(UpdateFileName(i)), std::string("file ") + UpdateFileName(i)));
            }
        }
    }
    int Run(const char* commandLine) {
        ScopedCurrentFolder here(folder.path);
        return RunWinMain(nullptr, commandLine);
    }
    void ExpectNothingLeftRegistered() {
        EXPECT_EQ(gFramework.registeredApp, nullptr);
        EXPECT_EQ(gFramework.registeredMouse, nullptr);
        EXPECT_EQ(gFramework.registeredKeyboard, nullptr);
        EXPECT_EQ(gFramework.window, nullptr);
        EXPECT_EQ(gFramework.frameBuffer, nullptr);
        EXPECT_EQ(gFramework.fontTable, nullptr);
    }

    TempFolder folder;
};

TEST_F(InstallerAppTest, PackModeBuildsThePackageAndSaysSo) {
    WriteLooseFiles();
    EXPECT_EQ(Run("/x -packages"), 0);  // "-pack" inside a longer word counts
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Setup");
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Packed files successfully !");
    EXPECT_TRUE(FileExists(folder.Join("update.dat")));
    EXPECT_FALSE(HeadlessGetWindow().exists);
    EXPECT_TRUE(HeadlessTitles().empty()) << "no window was ever made";
    ExpectNothingLeftRegistered();
}

TEST_F(InstallerAppTest, PackModeFailureSaysSoAndEndsWithOne) {
    WriteLooseFiles();
    fs::remove(folder.Join("club.dat"));
    EXPECT_EQ(Run("-pack"), 1);
    ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
    EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Setup");
    EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Unable to pack files");
    EXPECT_FALSE(FileExists(folder.Join("update.dat")));
    EXPECT_TRUE(HeadlessTitles().empty());
    ExpectNothingLeftRegistered();
}

TEST_F(InstallerAppTest, InstallModeOpensTheWindowWithoutAMessageAlsoForAnUpperCasePack) {
    WriteLooseFiles();
    CopyFonts();
    HeadlessEndFrame();  // the first paint
    HeadlessPostClose();
    EXPECT_EQ(Run("-PACK"), ExitCancelled);  // closed before any update
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
    EXPECT_FALSE(FileExists(folder.Join("update.dat")));
    ASSERT_EQ(HeadlessTitles().size(), 1u);
    EXPECT_EQ(HeadlessTitles()[0], "Tallyfield Update");
    EXPECT_EQ(HeadlessGetWindow().clientWidth, 550);
    EXPECT_EQ(HeadlessGetWindow().clientHeight, 350);
    // The language page reached the screen: the Exit Button's face at (452, 312).
    EXPECT_EQ(HeadlessScreenPixel(452, 312), 0x6739);
    EXPECT_FALSE(HeadlessGetWindow().exists) << "the window is destroyed at the end";
    EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    ExpectNothingLeftRegistered();
}

TEST_F(InstallerAppTest, MissingFontsOrNoWindowMeanNoGraphics) {
    for (bool noWindow : {false, true}) {
        SCOPED_TRACE(noWindow);
        ResetFrameworkAndBackend();
        if (noWindow) {
            CopyFonts();
            HeadlessSetWindowCreationFails(true);
        }
        EXPECT_EQ(Run(""), ExitProgramError);  // ends at its first frame: no script is needed
        ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Error");
        EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Unable to open graphics");
        EXPECT_EQ(HeadlessPumpCount(), 0) << "the first frame ends the program";
        ExpectNothingLeftRegistered();
    }
}

TEST_F(InstallerAppTest, InstallModeStartsOnTheLanguagePage) {
    CopyFonts();
    ScopedCurrentFolder here(folder.path);
    gFramework.commandLine = "";
    InstallerApp* app = static_cast<InstallerApp*>(CreateApplication());
    ASSERT_NE(app, nullptr);
    EXPECT_EQ(gFramework.registeredApp, app);
    EXPECT_NE(gFramework.registeredMouse, nullptr);
    EXPECT_NE(gFramework.registeredKeyboard, nullptr);
    EXPECT_EQ(app->state, StateChooseLanguage);
    EXPECT_EQ(app->drawnState, -1);
    EXPECT_STREQ(app->gameFolder, "c:\\tlfdemo");
    for (Button* b : app->buttons) EXPECT_EQ(b, nullptr);
    ASSERT_NE(app->mouse, nullptr);
    EXPECT_EQ(app->mouse->shape, CursorArrow);  // the busy pointer is replaced at once
    DeleteApplication(app);
    ExpectNothingLeftRegistered();
}

}  // namespace
