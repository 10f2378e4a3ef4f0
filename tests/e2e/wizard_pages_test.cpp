// wizard_pages_test.cpp: what each page of the wizard is made of (the Buttons in its slots, with
// their positions, captions and actions) and a few pixels that matter, on the real fonts.
//
// Pages that the flow reaches only through failures are shown here by setting the state and
// drawing, as RunFrame does after each change of state.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "app/texts.h"
#include "app/wizard_layout.h"
#include "framework/framework_state.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

constexpr uint16_t kEngravedGrey = 0x4210;  // the button face scaled to 66 %: grey (16, 16, 16)

uint16_t Pixel(int x, int y) { return gFramework.frameBuffer[y * (gFramework.pitch / 2) + x]; }

// True when some pixel of the rectangle (inclusive) has the colour.
bool AreaHas(int x0, int y0, int x1, int y1, uint16_t colour) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x)
            if (Pixel(x, y) == colour) return true;
    return false;
}

PageLayout Layout() {
    return ComputePageLayout(550, 350, static_cast<int16_t>(FontHeight(5) + FontHeight(2)));
}

// A started session in English with the version page reached, then showing `state`.
void ShowPage(WizardSession& s, int16_t state, int language = LanguageEnglish) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage(language));
    s.App().state = state;
    s.App().Redraw();
}

struct Expected {
    int slot;
    int x, y, width, height;
    std::string caption;
    int32_t action, argument;
};

void ExpectSlot(const WizardSession& s, const InstallerApp& app, const Expected& e) {
    const Button* b = app.buttons[e.slot];
    ASSERT_NE(b, nullptr) << "slot " << e.slot;
    EXPECT_EQ(b->x, e.x) << "slot " << e.slot;
    EXPECT_EQ(b->y, e.y) << "slot " << e.slot;
    EXPECT_EQ(b->width, e.width) << "slot " << e.slot;
    EXPECT_EQ(b->height, e.height) << "slot " << e.slot;
    EXPECT_EQ(std::string(b->label), e.caption) << "slot " << e.slot;
    EXPECT_EQ(b->action, e.action) << "slot " << e.slot;
    EXPECT_EQ(b->argument, e.argument) << "slot " << e.slot;
}

void ExpectEmptyFrom(const InstallerApp& app, int first) {
    for (int i = first; i < WizardSlotCount; ++i) EXPECT_EQ(app.buttons[i], nullptr) << "slot " << i;
}

void ExpectStandardFrame(WizardSession& s) {
    const PageLayout l = Layout();
    ExpectSlot(s, s.App(), {1, l.panelX, l.panelY, l.panelWidth, l.panelHeight, "", ActionInert, 0});
    ExpectSlot(s, s.App(), {2, l.panelX + 10, l.panelY + 10, l.panelWidth - 20, l.panelHeight - 50, "", ActionInert, 0});
    EXPECT_FALSE(s.App().buttons[1]->pressed);
    EXPECT_TRUE(s.App().buttons[2]->pressed);
    // The inset is sunken: its top-left bevel is dark, its bottom-right light.
    EXPECT_EQ(Pixel(l.panelX + 10, l.panelY + 10), ColourDarkGrey);
    EXPECT_EQ(Pixel(l.panelX + l.panelWidth - 10, l.panelY + l.panelHeight - 40), ColourWhite);
}

// Every page: the Exit Button in slot 0 at (W - 100, H - 40), drawn raised.
void ExpectExitButton(WizardSession& s, const char* caption = "Exit") {
    ExpectSlot(s, s.App(), {0, 450, 310, 80, 20, caption, ActionFinish, 0});
    EXPECT_EQ(Pixel(450, 310), ColourWhite);
    EXPECT_EQ(Pixel(530, 330), ColourDarkGrey);
    EXPECT_EQ(Pixel(452, 312), ColourButtonFace);
}

using ButtonKey = std::tuple<int, int, int, int, int, std::string, int32_t, int32_t, bool>;
std::set<ButtonKey> ButtonsOf(const InstallerApp& app) {
    std::set<ButtonKey> keys;
    for (int i = 0; i < WizardSlotCount; ++i) {
        const Button* b = app.buttons[i];
        if (b != nullptr) keys.insert(ButtonKey{i, b->x, b->y, b->width, b->height, b->label, b->action, b->argument, b->pressed});
    }
    return keys;
}

TEST(WizardPages, LanguagePageHasSevenCentredButtons) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    const InstallerApp& app = s.App();
    ASSERT_EQ(app.drawnState, StateChooseLanguage);
    ExpectExitButton(s);
    const int16_t header = static_cast<int16_t>(FontHeight(5) + FontHeight(2));
    int16_t widest = 0;
    for (int i = 0; i < LanguageCount; ++i) widest = std::max<int16_t>(widest, TextWidth(2, LanguageButtonText[i]));
    const int width = widest + 20;
    const int firstY = (350 - header - 7 * FontHeight(2)) / 2 + header - 15;
    for (int i = 0; i < LanguageCount; ++i) {
        ExpectSlot(s, app, {i + 1, (550 - width) / 2, firstY + i * FontHeight(2), width, FontHeight(2) - 2,
                            LanguageButtonText[i], ActionChooseLanguage, i});
    }
    ExpectEmptyFrom(app, 8);
    EXPECT_EQ(s.Caption(7), "Installera p\xe5 svenska");
}

TEST(WizardPages, FewerLanguagesStayCentredAndOneIsChosenAtOnce) {
    WizardSession s;
    ASSERT_TRUE(s.Start());  // the fonts are loaded
    Button* slots[WizardSlotCount] = {};
    const uint8_t three[LanguageCount] = {0, 1, 0, 0, 1, 0, 1};
    ASSERT_EQ(BuildLanguageButtons(slots, three, 550, 350), 3);
    const int header = FontHeight(5) + FontHeight(2);
    const int pitch = FontHeight(2);
    const int32_t languages[] = {LanguageSpanish, LanguageNorwegian, LanguageSwedish};
    for (int k = 0; k < 3; ++k) {
        ASSERT_NE(slots[k + 1], nullptr);
        EXPECT_EQ(slots[k + 1]->argument, languages[k]);
        EXPECT_EQ(slots[k + 1]->y, (350 - header - 3 * pitch) / 2 + header - 15 + k * pitch);
        EXPECT_EQ(slots[k + 1]->x, (550 - slots[k + 1]->width) / 2);
        EXPECT_FALSE(slots[k + 1]->forceClick);
    }
    EXPECT_EQ(slots[4], nullptr);
    for (Button*& b : slots) {
        DeleteButton(b);
        b = nullptr;
    }

    const uint8_t one[LanguageCount] = {0, 0, 0, 1, 0, 0, 0};
    ASSERT_EQ(BuildLanguageButtons(slots, one, 550, 350), 1);
    ASSERT_NE(slots[1], nullptr);
    EXPECT_EQ(slots[1]->argument, LanguageItalian);
    EXPECT_TRUE(slots[1]->forceClick);
    EXPECT_TRUE(UpdateButton(slots[1], nullptr)) << "the next poll chooses it without the mouse";
    EXPECT_EQ(slots[2], nullptr);
    DeleteButton(slots[1]);
}

TEST(WizardPages, ARepaintKeepsTheLanguageButtonsAndRebuildsOtherPagesAlike) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    std::vector<const Button*> before(s.App().buttons, s.App().buttons + WizardSlotCount);
    s.App().Redraw();
    EXPECT_EQ(std::vector<const Button*>(s.App().buttons, s.App().buttons + WizardSlotCount), before);
    ASSERT_TRUE(s.ChooseLanguage());
    const auto versionPage = ButtonsOf(s.App());
    s.App().Redraw();
    EXPECT_EQ(ButtonsOf(s.App()), versionPage);
    EXPECT_EQ(versionPage.size(), 10u);
}

TEST(WizardPages, BackgroundRampHeadingAndVersionLine) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.Frame());  // presented
    EXPECT_EQ(HeadlessScreenPixel(549, 0), 31);
    EXPECT_EQ(HeadlessScreenPixel(0, 349), 9);
    // The heading (font 5) and the version line (font 2) are yellow, bit 15 included.
    EXPECT_TRUE(AreaHas(10, 0, 300, FontHeight(5) - 1, ColourHeadingYellow));
    EXPECT_TRUE(AreaHas(10, FontHeight(5), 400, FontHeight(5) + FontHeight(2) - 1, ColourHeadingYellow));
    EXPECT_FALSE(AreaHas(400, 0, 549, FontHeight(5) - 1, ColourHeadingYellow));
    EXPECT_EQ(HeadlessGetWindow().title, "Tallyfield Update");
}

TEST(WizardPages, VersionPage) {
    WizardSession s;
    ShowPage(s, StateConfirmVersions);
    const PageLayout l = Layout();
    ExpectExitButton(s);
    ExpectStandardFrame(s);
    const InstallerApp& app = s.App();
    ExpectSlot(s, app, {3, l.leftX, l.commandY, 80, 20, "< Back", ActionGoToState, StateChooseLanguage});
    ExpectSlot(s, app, {4, l.rightX, l.commandY, 80, 20, "Next >", ActionGoToState, StateUpdating});
    ExpectSlot(s, app, {5, l.textX, l.panelY + 15, l.panelWidth, 0, "Current installed version:", ActionLabel, 0});
    ExpectSlot(s, app, {6, l.panelX + 30, l.panelY + 32, l.panelWidth, 0, "Version 3.02 (ENG)", ActionLabel, 0});
    ExpectSlot(s, app, {7, l.textX, l.panelY + 66, l.panelWidth, 0, "New version to install:", ActionLabel, 0});
    ExpectSlot(s, app, {8, l.panelX + 30, l.panelY + 83, l.panelWidth, 0, NewVersionText, ActionLabel, 0});
    ExpectSlot(s, app, {9, l.textX, l.panelY + 117, l.panelWidth, 0, "Click 'Next' to update", ActionLabel, 0});
    EXPECT_EQ(app.buttons[5]->textColour, 0);
    EXPECT_EQ(app.buttons[6]->textColour, 31);
    EXPECT_EQ(app.buttons[8]->textColour, 31);
    // The versions are blue, the captions black.
    EXPECT_TRUE(AreaHas(l.panelX + 30, l.panelY + 32, l.panelX + 200, l.panelY + 32 + FontHeight(1) - 1, 31));
    EXPECT_TRUE(AreaHas(l.textX, l.panelY + 15, l.textX + 150, l.panelY + 15 + FontHeight(1) - 1, 0));
    EXPECT_FALSE(AreaHas(l.textX, l.panelY + 15, l.textX + 150, l.panelY + 15 + FontHeight(1) - 1, 31));
    // Next is live (black caption), not engraved.
    EXPECT_TRUE(AreaHas(l.rightX + 2, l.commandY + 2, l.rightX + 78, l.commandY + 18, 0));
}

TEST(WizardPages, NotInstalledSourceMissingAndCompletedShowAnInertBack) {
    const struct {
        int16_t state;
        const char* right;
        std::vector<std::string> lines;
    } pages[] = {
        {StateNotInstalled, "Exit", {"Unable to find TLF installation", "Re-install TLF from CD and try again"}},
        {StateSourceMissing, "Exit", {"Unable to find a source file", "The update file is corrupt"}},
        {StateCompleted, "Finish", {"Update completed"}},
        {StateInstallCorrupt, "Exit", {"TLF installation is corrupt", "Re-install TLF from CD and try again"}},
    };
    for (const auto& page : pages) {
        SCOPED_TRACE(page.state);
        WizardSession s;
        ShowPage(s, page.state);
        const PageLayout l = Layout();
        ExpectExitButton(s);
        ExpectStandardFrame(s);
        ExpectSlot(s, s.App(), {3, l.leftX, l.commandY, 80, 20, "< Back", ActionInert, 0});
        ExpectSlot(s, s.App(), {4, l.rightX, l.commandY, 80, 20, page.right, ActionFinish, 0});
        for (size_t i = 0; i < page.lines.size(); ++i) {
            ExpectSlot(s, s.App(), {static_cast<int>(5 + i), l.textX, l.panelY + 15 + 17 * static_cast<int>(i),
                                    l.panelWidth, 0, page.lines[i], ActionLabel, 0});
        }
        ExpectEmptyFrom(s.App(), 5 + static_cast<int>(page.lines.size()));
        // The engraved caption: grey and white, no black.
        EXPECT_TRUE(AreaHas(l.leftX + 2, l.commandY + 2, l.leftX + 78, l.commandY + 18, kEngravedGrey));
        EXPECT_FALSE(AreaHas(l.leftX + 2, l.commandY + 2, l.leftX + 78, l.commandY + 18, 0));
    }
}

TEST(WizardPages, WriteFailedPageSaysWhyAndWhatToDo) {
    WizardSession s;
    ShowPage(s, StateWriteFailed);
    const PageLayout l = Layout();
    ExpectStandardFrame(s);
    ExpectSlot(s, s.App(), {3, l.leftX, l.commandY, 80, 20, "< Back", ActionGoToState, StateEnterFolder});
    ExpectSlot(s, s.App(), {4, l.rightX, l.commandY, 80, 20, "Exit", ActionFinish, 0});
    // Nothing failed yet: no file to name, the general reason, and the advice to try again.
    EXPECT_EQ(s.Caption(5), "The system refused to write the file.");
    EXPECT_EQ(s.Caption(6).substr(0, 14), "Close the game");
}

TEST(WizardPages, QuickStartPagePutsYesLeftInTheEnterSlot) {
    WizardSession s;
    ShowPage(s, StateQuickStartPrompt);
    const PageLayout l = Layout();
    const InstallerApp& app = s.App();
    ExpectStandardFrame(s);
    ExpectSlot(s, app, {3, l.rightX, l.commandY, 80, 20, "No", ActionKeepQuickStart, 0});
    ExpectSlot(s, app, {4, l.leftX, l.commandY, 80, 20, "Yes", ActionDeleteQuickStart, 0});
    // Lines 17 apart from panelY + 15, an empty line between the two texts, all inside the inset.
    std::string first, second;
    int y = l.panelY + 15;
    int slot = 5;
    for (; slot < WizardSlotCount && app.buttons[slot] != nullptr; ++slot) {
        const Button* b = app.buttons[slot];
        EXPECT_EQ(b->action, ActionLabel);
        EXPECT_EQ(b->x, l.textX);
        EXPECT_LT(TextWidth(1, b->label), l.panelWidth - 34);
        if (b->y != y) {
            EXPECT_EQ(b->y, y + 17) << "one empty line between the texts";
            y += 17;
            first.swap(second);
        }
        second += (second.empty() ? "" : " ") + std::string(b->label);
        y += 17;
    }
    EXPECT_EQ(first, QuickStartOutdatedText[LanguageEnglish]);
    EXPECT_EQ(second, DeleteQuickStartQuestion[LanguageEnglish]);
    EXPECT_LE(y, l.panelY + l.panelHeight - 40) << "the text stays inside the inset";
}

TEST(WizardPages, FolderPage) {
    WizardSession s;
    ShowPage(s, StateEnterFolder);
    const PageLayout l = Layout();
    const InstallerApp& app = s.App();
    const int boxY = (350 - l.headerHeight) / 2 + 40;
    ExpectExitButton(s);
    ExpectSlot(s, app, {1, l.panelX, l.panelY, l.panelWidth, l.panelHeight, "", ActionInert, 0});
    ExpectSlot(s, app, {2, l.panelX + 10, boxY, l.panelWidth - 20, 25, s.gameFolder + "|", ActionTextField, 0});
    EXPECT_TRUE(app.buttons[2]->pressed);
    ExpectSlot(s, app, {3, l.leftX, l.commandY, 80, 20, "< Back", ActionGoToState, StateChooseLanguage});
    ExpectSlot(s, app, {4, l.rightX, l.commandY, 80, 20, "Next >", ActionGoToState, StateConfirmVersions});
    // The prompt, an empty line, then the line under it.
    ExpectSlot(s, app, {5, l.panelX + 10, l.panelY + 10, l.panelWidth - 20, 0,
                        "Type the folder where Tallyfield is installed, then click Next", ActionLabel, 0});
    ExpectSlot(s, app, {6, l.panelX + 10, l.panelY + 44, l.panelWidth - 20, 0, "Click 'Next' to continue", ActionLabel, 0});
    ExpectEmptyFrom(app, 7);
    EXPECT_EQ(app.boxX, l.panelX + 10);
    EXPECT_EQ(app.boxY, boxY);
    EXPECT_EQ(app.boxWidth, l.panelWidth - 20);
}

TEST(WizardPages, UpdatingPageHasTheTroughAndItsHeading) {
    WizardSession s;
    ShowPage(s, StateUpdating);
    const PageLayout l = Layout();
    const InstallerApp& app = s.App();
    const int boxY = (350 - l.headerHeight) / 2;
    ExpectExitButton(s);
    ExpectSlot(s, app, {1, l.panelX, boxY, l.panelWidth, 40, "", ActionInert, 0});
    ExpectSlot(s, app, {2, l.panelX + 10, boxY + 10, l.panelWidth - 20, 20, "", ActionInert, 0});
    EXPECT_TRUE(app.buttons[2]->pressed);
    ExpectEmptyFrom(app, 3);
    EXPECT_EQ(app.boxX, l.panelX);
    EXPECT_EQ(app.boxY, boxY);
    EXPECT_EQ(app.boxWidth, l.panelWidth);
    EXPECT_TRUE(AreaHas(l.panelX, boxY - 40, l.panelX + 150, boxY - 40 + FontHeight(2) - 1, ColourHeadingYellow));
}

TEST(WizardPages, EveryLineAndCaptionOfEveryLanguageStaysInsideItsBox) {
    // Single-line texts stand inside the inset and command captions inside their 80-pixel
    // Buttons; the wrapped texts of the quick-start and not-compatible pages are stored whole in
    // slots 5 to 9, 17 pixels apart, each line narrower than the panel.
    for (int language = 0; language < LanguageCount; ++language) {
        for (int16_t state : {StateNotInstalled, StateConfirmVersions, StateCompleted, StateSourceMissing,
                              StateInstallCorrupt, StateQuickStartPrompt, StateEnterFolder, StateWriteFailed,
                              StateNotCompatible}) {
            SCOPED_TRACE(std::to_string(language) + " in state " + std::to_string(state));
            WizardSession s;
            ShowPage(s, state, language);
            const PageLayout l = Layout();
            for (int slot = 0; slot < WizardSlotCount; ++slot) {
                const Button* b = s.App().buttons[slot];
                if (b == nullptr || b->label[0] == '\0') continue;
                const int width = TextWidth(1, b->label);
                if (b->action == ActionLabel) {
                    EXPECT_LE(b->x + width, l.panelX + l.panelWidth - 12) << b->label;
                } else if (b->action != ActionTextField) {
                    EXPECT_LE(width, b->width - 4) << b->label;
                }
            }
            if (state != StateQuickStartPrompt && state != StateNotCompatible) continue;
            std::string joined;
            for (int slot = 5; slot < WizardSlotCount && s.App().buttons[slot] != nullptr; ++slot) {
                EXPECT_LT(TextWidth(1, s.App().buttons[slot]->label), l.panelWidth - 34);
                if (state == StateNotCompatible) {
                    EXPECT_EQ(s.App().buttons[slot]->y, l.panelY + 15 + 17 * (slot - 5));
                }
                joined += (joined.empty() ? "" : " ") + std::string(s.App().buttons[slot]->label);
            }
            const std::string expected = state == StateNotCompatible
                                             ? std::string(NotCompatibleText[language])
                                             : std::string(QuickStartOutdatedText[language]) + " " +
                                                   DeleteQuickStartQuestion[language];
            EXPECT_EQ(joined, expected);
        }
    }
}

}  // namespace
