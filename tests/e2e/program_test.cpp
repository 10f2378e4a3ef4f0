// program_test.cpp: the installer as the real entry (RunWinMain) runs it: what install mode needs
// before its first frame. Pack mode's messages and exit codes, and a whole install by clicks and
// keys, are checked on the real program (tests/scripts/*_pack_test.sh, the wizard walk).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "framework/exit_code.h"
#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/framework_reset.h"

namespace fs = std::filesystem;

namespace {

// Without fonts, then with fonts but no window: one error box, exit code 1, and nothing of the
// framework left set up. (Which words mean pack mode: command_line_test.cpp.)
TEST(Program, InstallModeNeedsFontsAndAWindow) {
    TempFolder folder;
    for (bool fonts : {false, true}) {
        ResetFrameworkAndBackend();
        if (fonts) {
            for (const auto& font : fs::directory_iterator(CommittedFontFolder())) fs::copy(font.path(), fs::path(folder.path) / font.path().filename());
            HeadlessSetWindowCreationFails(true);
        }
        ScopedCurrentFolder here(folder.path);
        EXPECT_EQ(RunWinMain(nullptr, ""), ExitProgramError);
        ASSERT_EQ(HeadlessMessageBoxes().size(), 1u);
        EXPECT_EQ(HeadlessMessageBoxes()[0].caption, "Error");
        EXPECT_EQ(HeadlessMessageBoxes()[0].text, "Unable to open graphics");
        EXPECT_TRUE(gFramework.registeredApp == nullptr && gFramework.registeredMouse == nullptr && gFramework.frameBuffer == nullptr);
    }
    ResetFrameworkAndBackend();
}

}  // namespace
