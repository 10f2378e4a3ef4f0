// demo_install_test.cpp: a scripted English install of a prepared installation, for the demo.
//
// Skipped unless TLF_DEMO_UPDATE names the folder of a delivered update (update.dat, the seven
// readmes and the fonts); the record must already name the game (on Linux through TLF_REGISTRY).
// The wizard is driven as a player would: English, Next, the update to its end, Yes to the
// quick-start question if it comes, Finish. When TLF_DEMO_PAGES names a folder, a PNG of every
// page passed is written there. What happened is printed on standard output.
//
//   export TLF_REGISTRY=<record> TLF_DEMO_UPDATE=<update folder> TLF_DEMO_PAGES=<folder>
//   build/<x>/tests/tests_e2e --gtest_filter='DemoInstall.*'
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

const char* const kPageNames[] = {"choose_language", "not_installed", "confirm_versions", "updating",
                                  "completed",       "source_missing", "install_corrupt", "quick_start_prompt",
                                  "enter_folder",    "write_failed",  "not_compatible"};

std::string Variable(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

// Writes the page now in the frame buffer as <n>_<page>.png, numbered in the order passed.
void SavePage(const std::string& folder, int& number, int16_t state) {
    const std::string name = std::to_string(++number) + "_" + kPageNames[state] + ".png";
    std::printf("demo: page %-20s", kPageNames[state]);
    if (!folder.empty() && HeadlessCanWritePng()) {
        const std::string path = folder + "/" + name;
        EXPECT_TRUE(WriteRgb555Png(path.c_str(), gFramework.frameBuffer, gFramework.pitch, gFramework.screenWidth,
                                   gFramework.screenHeight));
        std::printf(" %s", path.c_str());
    }
    std::printf("\n");
}

TEST(DemoInstall, ScriptedEnglishInstall) {
    const std::string update = Variable("TLF_DEMO_UPDATE");
    if (update.empty()) GTEST_SKIP() << "TLF_DEMO_UPDATE names no update folder";
    const std::string pages = Variable("TLF_DEMO_PAGES");
    int number = 0;

    WizardSession s(update);
    ASSERT_TRUE(s.Start());
    SavePage(pages, number, s.State());
    ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
    SavePage(pages, number, s.State());
    if (s.State() == StateConfirmVersions) {
        std::printf("demo: installed version \"%s\" in \"%s\"\n", s.App().installedVersion, s.App().gameFolder);
        ASSERT_TRUE(s.ClickSlot(4));  // Next
        bool halfwayShown = false;
        for (int i = 0; i < 100 && s.State() == StateUpdating; ++i) {
            if (!halfwayShown && s.App().fileCounter >= 24) {
                SavePage(pages, number, s.State());
                halfwayShown = true;
            }
            ASSERT_TRUE(s.Frame());
        }
        SavePage(pages, number, s.State());
        if (s.State() == StateQuickStartPrompt) {
            ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));  // Yes
            SavePage(pages, number, s.State());
        }
    }
    const int16_t last = s.State();
    s.ClickSlot(4);  // Finish on the completed page, Exit on the others
    EXPECT_TRUE(s.Ended());
    for (const std::string& document : HeadlessOpenedDocuments()) std::printf("demo: opened %s\n", document.c_str());
    std::printf("demo: ended on the page %s\n", kPageNames[last]);
    EXPECT_EQ(last, StateCompleted);
}

}  // namespace
