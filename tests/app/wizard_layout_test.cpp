// wizard_layout_test.cpp: the page arithmetic for the installer's 550 x 350 window.
//
// The reference numbers are those of a header 45 pixels high; the real header depends on the
// font files, which the page tests (tests/e2e) cover.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/wizard_layout.h"

namespace {

TEST(WizardLayout, PanelAndCommandPositionsFor550By350) {
    const PageLayout l = ComputePageLayout(550, 350, 45);
    EXPECT_EQ(l.panelWidth, 366);
    EXPECT_EQ(l.panelX, 92);
    EXPECT_EQ(l.panelHeight, 213);  // 203 before the margin of 10
    EXPECT_EQ(l.panelY, 73);        // centred on the height before the margin
    EXPECT_EQ(l.textX, 109);
    EXPECT_EQ(l.leftX, 278);
    EXPECT_EQ(l.rightX, 368);
    EXPECT_EQ(l.commandY, 256);
    // Odd sizes truncate toward zero: 2 x 551 / 3 = 367.33; (350 - 46) x 2 / 3 = 202.67.
    const PageLayout odd = ComputePageLayout(551, 350, 46);
    EXPECT_EQ(odd.panelWidth, 367);
    EXPECT_EQ(odd.panelY, 74);
    EXPECT_EQ(odd.panelHeight, 212);
}

TEST(WizardLayout, BackgroundRampRunsFrom31To9) {
    EXPECT_EQ(BackgroundRowColour(0, 350), 31);
    EXPECT_EQ(BackgroundRowColour(349, 350), 9);
    EXPECT_EQ(BackgroundRowColour(175, 350), 20);  // 23 - 11 + 8
    uint16_t previous = BackgroundRowColour(0, 350);
    for (int16_t y = 1; y < 350; ++y) {
        const uint16_t colour = BackgroundRowColour(y, 350);
        EXPECT_LE(colour, previous) << y;
        EXPECT_EQ(colour & ~0x1fu, 0u) << "pure blue at row " << y;
        previous = colour;
    }
}

TEST(WizardLayout, ProgressBarIsEmptyAtTheCheckAndFullAfterTheLastEntry) {
    EXPECT_EQ(ProgressBarWidth(0, 366), 0);
    EXPECT_EQ(ProgressBarWidth(1, 366), 7);    // 346 / 47 = 7.36
    EXPECT_EQ(ProgressBarWidth(24, 366), 176);  // 8304 / 47 = 176.7
    EXPECT_EQ(ProgressBarWidth(47, 366), 346);
}

TEST(WizardLayout, LanguageButtonsAreCentred) {
    // Seven languages, font 2 of 20 pixels, widest caption 150.
    const LanguageButtonPlacement p = PlaceLanguageButtons(550, 350, 45, 20, 150, 7);
    EXPECT_EQ(p.width, 170);
    EXPECT_EQ(p.x, 190);                        // (550 - 170) / 2
    EXPECT_EQ(p.firstY, (305 - 140) / 2 + 45 - 15);
    EXPECT_EQ(p.height, 18);
    EXPECT_EQ(p.pitch, 20);
}

TEST(WizardLayout, FolderCaptionEndsInTheCaret) {
    char caption[200];
    FolderFieldCaption("c:\\tlfdemo", caption);
    EXPECT_STREQ(caption, "c:\\tlfdemo|");

    // 198 characters still fit whole with the caret.
    const std::string fits(198, 'a');
    FolderFieldCaption(fits.c_str(), caption);
    EXPECT_EQ(std::strlen(caption), 199u);
    EXPECT_EQ(std::string(caption), fits + "|");
    // 199 characters (possible from the record): the first is dropped so the caret still shows.
    const std::string folder = "X" + std::string(197, 'b') + "Z";
    FolderFieldCaption(folder.c_str(), caption);
    EXPECT_EQ(std::string(caption), std::string(197, 'b') + "Z|");
}

}  // namespace
