// render_pages_test.cpp: writes a picture of every page of the wizard, for the documentation and
// for looking at: when TLF_RENDER_PAGES names a folder, one PNG per page is written there (all
// eleven states in English, the language page, and the version, quick-start, write-failure and
// folder pages in each of the seven languages). Without the variable, or in a build without PNG support, it is skipped.
//
//   TLF_RENDER_PAGES=docs/pages build/<x>/tests/tests_e2e --gtest_filter='RenderPages.*'
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

const char* const kStateNames[] = {"choose_language", "not_installed", "confirm_versions", "updating",
                                   "completed",       "source_missing", "install_corrupt", "quick_start_prompt",
                                   "enter_folder",    "write_failed",  "not_compatible"};
const char* const kLanguageCodes[] = {"eng", "esp", "fra", "ita", "nor", "por", "sve"};

std::string OutputFolder() {
    const char* folder = std::getenv("TLF_RENDER_PAGES");
    return folder != nullptr ? folder : "";
}

void SaveFrameBuffer(const std::string& name) {
    const std::string path = OutputFolder() + "/" + name + ".png";
    EXPECT_TRUE(WriteRgb555Png(path.c_str(), gFramework.frameBuffer, gFramework.pitch, gFramework.screenWidth,
                               gFramework.screenHeight))
        << path;
}

std::string StateFileName(int state) {
    return std::string(state < 10 ? "state_0" : "state_") + std::to_string(state) + "_" + kStateNames[state];
}

// The write-failure page as a player meets it most: a game file held open by another program.
void ShowInUse(WizardSession& s) {
    s.App().lastWriteFailure.reason = WriteFailureInUse;
    std::snprintf(s.App().lastWriteFailure.file, WizardPathSize, "%s\\data\\club.dat", s.App().gameFolder);
}

class RenderPages : public ::testing::Test {
protected:
    void SetUp() override {
        if (OutputFolder().empty()) GTEST_SKIP() << "TLF_RENDER_PAGES names no folder";
        if (!HeadlessCanWritePng()) GTEST_SKIP() << "this build writes no PNG files";
    }
};

TEST_F(RenderPages, EveryStateInEnglish) {
    {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        SaveFrameBuffer(StateFileName(StateChooseLanguage));
    }
    {
        // The progress bar as it stands two fifths of the way through a real update.
        WizardSession s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage());
        ASSERT_TRUE(s.ClickSlot(4));
        for (int i = 0; i < 20; ++i) ASSERT_TRUE(s.Frame());
        ASSERT_EQ(s.State(), StateUpdating);
        SaveFrameBuffer(StateFileName(StateUpdating));
    }
    for (int16_t state = 1; state <= StateNotCompatible; ++state) {
        if (state == StateUpdating) continue;
        WizardSession s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage());
        if (state == StateEnterFolder) std::snprintf(s.App().gameFolder, WizardTextSize, "%s", "c:\\games\\tlf");
        if (state == StateSourceMissing) std::snprintf(s.App().faultyFile, WizardPathSize, "%s", "data\\club.dat");
        if (state == StateWriteFailed) ShowInUse(s);
        s.App().state = state;
        s.App().Redraw();
        SaveFrameBuffer(StateFileName(state));
    }
}

TEST_F(RenderPages, VersionAndQuickStartPagesInEveryLanguage) {
    for (int language = 0; language < LanguageCount; ++language) {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage(language));
        SaveFrameBuffer(std::string("language_") + kLanguageCodes[language] + "_confirm_versions");
        s.App().state = StateQuickStartPrompt;
        s.App().Redraw();
        SaveFrameBuffer(std::string("language_") + kLanguageCodes[language] + "_quick_start_prompt");
        ShowInUse(s);
        s.App().state = StateWriteFailed;
        s.App().Redraw();
        SaveFrameBuffer(std::string("language_") + kLanguageCodes[language] + "_write_failed");
        std::snprintf(s.App().gameFolder, WizardTextSize, "%s", "c:\\games\\tlf");
        s.App().state = StateEnterFolder;
        s.App().Redraw();
        SaveFrameBuffer(std::string("language_") + kLanguageCodes[language] + "_enter_folder");
    }
}

}  // namespace
