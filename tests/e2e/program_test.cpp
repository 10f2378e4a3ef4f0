// program_test.cpp: the installer as the real entry (RunWinMain) runs it: what install mode needs
// before its first frame. Pack mode's messages and exit codes, and a whole install by clicks and
// keys, are checked on the real program (tests/scripts/*_pack_test.sh, the wizard walk).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/exit_code.h"
#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "package/update_file_table.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/framework_reset.h"

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
    EXPECT_EQ(Run("-PACK"), ExitProgramError);  // no fonts
    ExpectOneBox("Error", "Unable to open graphics");
    EXPECT_FALSE(FileExists(folder.Join("update.dat")));

    ResetFrameworkAndBackend();
    CopyFonts();
    HeadlessSetWindowCreationFails(true);
    EXPECT_EQ(Run(""), ExitProgramError);
    ExpectOneBox("Error", "Unable to open graphics");
}

}  // namespace
