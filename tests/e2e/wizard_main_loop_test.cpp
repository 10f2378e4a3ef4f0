// wizard_main_loop_test.cpp: a whole English install run by the real entry and main loop
// (RunWinMain), with nothing but a script of window messages: the way a player drives it.
//
// The script clicks at Button centres measured on a first run with the same fonts, so the test
// follows the layout wherever the fonts put it.
#include <gtest/gtest.h>

#include "app/texts.h"
#include "framework/exit_code.h"
#include "framework/qbio.h"
#include "gfx/button.h"
#include "package/update_file_table.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

struct Point {
    int x, y;
};

Point CentreOf(const Button* b) { return Point{b->x + b->width / 2, b->y + b->height / 2}; }

TEST(WizardMainLoop, ScriptedEnglishInstallFromStartToFinish) {
    Point english{}, next{};
    {
        WizardSession probe;
        ASSERT_TRUE(probe.Start());
        english = CentreOf(probe.App().buttons[1]);
        ASSERT_TRUE(probe.ChooseLanguage(LanguageEnglish));
        next = CentreOf(probe.App().buttons[4]);  // "Next >", and "Finish" at the same place later
    }

    WizardSession s;
    s.AddQuickStartFiles();
    ScopedCurrentFolder here(s.updateFolder);
    HeadlessEndFrame();                     // the first paint: the language page
    HeadlessPostClick(english.x, english.y);
    HeadlessPostClick(next.x, next.y);      // the update starts
    for (int i = 0; i < 60; ++i) HeadlessEndFrame();  // 49 steps need 49 frames
    HeadlessPostKeyPress(HeadlessKeyEnter); // "Yes": delete the quick-start files
    HeadlessPostClick(next.x, next.y);      // "Finish"
    HeadlessPostClose();                    // only reached if Finish did not end the program

    EXPECT_EQ(RunWinMain(nullptr, ""), 0);

    EXPECT_GT(HeadlessQueuedMessageCount(), 0) << "Finish ended the program before the close";
    ASSERT_EQ(HeadlessOpenedDocuments().size(), 1u);
    EXPECT_EQ(HeadlessOpenedDocuments()[0], s.gameFolder + "\\readme.txt");
    EXPECT_TRUE(HeadlessMessageBoxes().empty());
    EXPECT_EQ(s.GameFile("tlf.exe"), NewContents(0));
    EXPECT_EQ(s.GameFile("data/fancluburls.txt"), NewContents(46));
    EXPECT_EQ(s.GameFile("readme.txt"), ReadmeContents(LanguageEnglish));
    EXPECT_FALSE(s.GameFileExists("qstart/league.qst"));
    EXPECT_FALSE(s.GameFileExists("tlf.icd"));
    EXPECT_EQ(s.RecordVersion(), NewVersionText);
    EXPECT_FALSE(HeadlessGetWindow().exists);
}

TEST(WizardMainLoop, CloseButtonEndsTheWizardWithoutInstalling) {
    WizardSession s;
    ScopedCurrentFolder here(s.updateFolder);
    HeadlessEndFrame();
    HeadlessPostClose();
    EXPECT_EQ(RunWinMain(nullptr, ""), ExitCancelled);
    EXPECT_EQ(s.GameFile("tlf.exe"), OldContents(0));
    EXPECT_EQ(s.RecordVersion(), "Release");
    EXPECT_TRUE(HeadlessOpenedDocuments().empty());
}

}  // namespace
