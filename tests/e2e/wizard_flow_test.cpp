// wizard_flow_test.cpp: the wizard's transitions, keys and folder field, driven by scripted
// clicks and keys through the headless backend: every row of the transition table, Enter and
// Escape in every state, the version shown, and the limits of the folder field.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/texts.h"
#include "app/wizard_layout.h"
#include "framework/framework_state.h"
#include "gfx/button.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "tests/e2e/wizard_session.h"

namespace {

// Reaches the write-failure page: without "data" the first entry there cannot be written.
void ReachWriteFailedPage(WizardSession& s) {
    std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_TRUE(s.RunUpdate());
    ASSERT_EQ(s.State(), StateWriteFailed);
}

void ReachFolderPage(WizardSession& s) {
    ReachWriteFailedPage(s);
    ASSERT_TRUE(s.ClickSlot(3));
    ASSERT_EQ(s.State(), StateEnterFolder);
}

void ReachSourceMissingPage(WizardSession& s) {
    std::filesystem::remove(JoinNative(s.updateFolder, "update.dat"));
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_TRUE(s.RunUpdate());
    ASSERT_EQ(s.State(), StateSourceMissing);
}

void ReachNotInstalledPage(WizardSession& s) {
    std::filesystem::remove(JoinNative(s.gameFolder, "tlf.exe"));
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_EQ(s.State(), StateNotInstalled);
}

void ReachQuickStartPage(WizardSession& s) {
    s.AddQuickStartFiles();
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_TRUE(s.RunUpdate());
    ASSERT_EQ(s.State(), StateQuickStartPrompt);
}

void ReachLanguagePage(WizardSession& s) { ASSERT_TRUE(s.Start()); }

void ReachVersionPage(WizardSession& s) {
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
}

// True when the last presentation covered the whole window, as after a Redraw.
bool WholePagePresented() {
    const auto& rects = HeadlessPresentedRects();
    return !rects.empty() && rects.back().x == 0 && rects.back().y == 0 && rects.back().width == 550 &&
           rects.back().height == 350;
}

// ---- choosing a language --------------------------------------------------------------------

TEST(WizardFlow, ChoosingALanguageFindsTheInstallation) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    EXPECT_EQ(s.State(), StateChooseLanguage);
    EXPECT_STREQ(s.App().gameFolder, "c:\\tlfdemo");
    ASSERT_TRUE(s.ChooseLanguage(LanguageSpanish));
    EXPECT_EQ(s.State(), StateConfirmVersions);
    EXPECT_EQ(s.App().language, LanguageSpanish);
    EXPECT_EQ(std::string(s.App().gameFolder), s.gameFolder);
    EXPECT_STREQ(s.App().installedVersion, "Version 3.02 (ENG)");
    ASSERT_EQ(HeadlessTitles().size(), 2u);
    EXPECT_EQ(HeadlessTitles()[0], "Tallyfield Update");
    EXPECT_EQ(HeadlessTitles()[1], "Actualizaci\xf3n Tallyfield");
    EXPECT_EQ(s.Caption(6), "Version 3.02 (ENG)");
}

TEST(WizardFlow, OnlyTheExactWordReleaseIsReplaced) {
    const char* const shown[][2] = {
        {"Release", "Version 3.02 (ENG)"},
        {"release", "release"},
        {"RELEASE", "RELEASE"},
        {"Release ", "Release "},
        {"Version 3.03 (ENG)", "Version 3.03 (ENG)"},
        {"", ""},
    };
    for (const auto& row : shown) {
        WizardSession s;
        s.SetRecord("Version", row[0]);
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage());
        EXPECT_EQ(s.State(), StateConfirmVersions) << "the update is offered for \"" << row[0] << "\"";
        EXPECT_STREQ(s.App().installedVersion, row[1]);
        EXPECT_EQ(s.Caption(6), row[1]);
    }
}

TEST(WizardFlow, LocationWithoutTheGameMeansNotInstalled) {
    WizardSession s;
    s.SetRecord("Location", s.root.Join("nowhere"));
    ReachVersionPage(s);
    EXPECT_EQ(s.State(), StateNotInstalled);
}

#ifndef _WIN32
// Under Wine the record is the prefix's registry, where a test cannot take values away.
TEST(WizardFlow, AMissingRecordOrValueMeansNotInstalled) {
    // Which values the record keeps: none, only "Version", only "Location".
    for (int keep = 0; keep < 3; ++keep) {
        SCOPED_TRACE(keep);
        WizardSession s;
        std::filesystem::remove(s.registryFile);
        if (keep == 1) s.SetRecord("Version", "Release");
        if (keep == 2) s.SetRecord("Location", s.gameFolder);
        ReachVersionPage(s);
        EXPECT_EQ(s.State(), StateNotInstalled);
        if (keep == 2) {
            EXPECT_STREQ(s.App().gameFolder, "c:\\tlfdemo");  // not read after the version failed
        }
    }
}
#endif

// ---- the transition table, Enter and Escape, page by page ------------------------------------

constexpr int16_t kEnds = -1;  // the program ends
constexpr int kEnter = -HeadlessKeyEnter;
constexpr int kEscape = -HeadlessKeyEscape;

// One input on one page: a click on a slot (0 and up) or a key (kEnter, kEscape), and the state
// it leads to. Nothing in these rows opens the readme.
struct FlowRow {
    const char* page;
    void (*reach)(WizardSession&);
    int input;
    int16_t next;
};

const FlowRow kFlowRows[] = {
    {"language", ReachLanguagePage, 0, kEnds},
    {"language", ReachLanguagePage, kEnter, StateChooseLanguage},
    {"language", ReachLanguagePage, kEscape, kEnds},
    {"version", ReachVersionPage, 0, kEnds},
    {"version", ReachVersionPage, 3, StateChooseLanguage},
    {"version", ReachVersionPage, 4, StateUpdating},
    {"version", ReachVersionPage, kEnter, StateUpdating},
    {"version", ReachVersionPage, kEscape, kEnds},
    {"not installed", ReachNotInstalledPage, 0, kEnds},
    {"not installed", ReachNotInstalledPage, 3, StateNotInstalled},  // "< Back" is inert
    {"not installed", ReachNotInstalledPage, 4, kEnds},
    {"not installed", ReachNotInstalledPage, kEnter, kEnds},
    {"not installed", ReachNotInstalledPage, kEscape, kEnds},
    {"source missing", ReachSourceMissingPage, 3, StateSourceMissing},
    {"source missing", ReachSourceMissingPage, 4, kEnds},
    {"source missing", ReachSourceMissingPage, kEnter, kEnds},
    {"source missing", ReachSourceMissingPage, kEscape, kEnds},
    {"write failed", ReachWriteFailedPage, 3, StateEnterFolder},
    {"write failed", ReachWriteFailedPage, 4, kEnds},
    {"write failed", ReachWriteFailedPage, kEnter, kEnds},
    {"write failed", ReachWriteFailedPage, kEscape, kEnds},
    {"folder", ReachFolderPage, 0, kEnds},
    {"folder", ReachFolderPage, 3, StateChooseLanguage},
    {"folder", ReachFolderPage, 4, StateConfirmVersions},
    {"folder", ReachFolderPage, kEnter, StateConfirmVersions},
    {"folder", ReachFolderPage, kEscape, kEnds},
    {"quick start", ReachQuickStartPage, 0, kEnds},
    {"quick start", ReachQuickStartPage, kEscape, kEnds},
};

TEST(WizardFlow, EveryTransitionByClickAndByKey) {
    for (const FlowRow& row : kFlowRows) {
        SCOPED_TRACE(std::string(row.page) + " page, input " + std::to_string(row.input));
        WizardSession s;
        row.reach(s);
        if (::testing::Test::HasFatalFailure()) return;
        const bool goesOn = row.input >= 0 ? s.ClickSlot(row.input) : s.PressKey(-row.input);
        EXPECT_EQ(goesOn, row.next != kEnds);
        if (goesOn) {
            EXPECT_EQ(s.State(), row.next);
        }
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
        if (row.reach == ReachFolderPage && row.input < 0) {
            EXPECT_EQ(std::string(s.App().gameFolder), s.gameFolder) << "Enter and Escape are not typed";
        }
        if (row.reach == ReachQuickStartPage) {
            EXPECT_TRUE(s.GameFileExists("qstart/league.qst"));
        }
    }
}

TEST(WizardFlow, TheLanguagePageReachedByBackKeepsTheChosenLanguageUntilAnotherIsChosen) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage(LanguageFrench));
    ASSERT_TRUE(s.ClickSlot(3));
    for (int i = 0; i < LanguageCount; ++i) EXPECT_EQ(s.Argument(i + 1), i);
    EXPECT_EQ(s.Caption(0), "Quitter");
    ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
    EXPECT_EQ(s.Caption(4), "Next >");
}

TEST(WizardKeys, EnterDuringTheUpdateDoesNothing) {
    WizardSession s;
    ReachVersionPage(s);
    ASSERT_TRUE(s.ClickSlot(4));
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    EXPECT_EQ(s.State(), StateUpdating);
    EXPECT_EQ(s.App().fileCounter, 2);
}

TEST(WizardKeys, ReservedPagesOfferOnlyExit) {
    {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        s.App().state = StateInstallCorrupt;
        s.App().Redraw();
        ASSERT_TRUE(s.ClickSlot(3));  // inert "< Back"
        EXPECT_EQ(s.State(), StateInstallCorrupt);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEnter));  // Enter presses Exit in slot 4
    }
    {
        WizardSession t;
        ASSERT_TRUE(t.Start());
        t.App().state = StateNotCompatible;
        t.App().Redraw();
        ASSERT_TRUE(t.PressKey(HeadlessKeyEnter));  // nothing on this page
        EXPECT_EQ(t.State(), StateNotCompatible);
        EXPECT_FALSE(t.ClickSlot(4));
    }
}

// ---- the folder field -----------------------------------------------------------------------

TEST(WizardFolderField, TypingAppendsBackspaceRemovesAndRefusedKeysStillRedraw) {
    WizardSession s;
    ReachFolderPage(s);
    const std::string start = s.App().gameFolder;
    ASSERT_TRUE(s.Type("x_1"));
    EXPECT_EQ(s.Caption(2), start + "x_1|");
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    EXPECT_EQ(s.Caption(2), start + "|");
    // Code 233, a control character, no character at all: refused, but the page is redrawn.
    for (int key : {-0xe9, int{HeadlessKeyTab}, int{HeadlessKeyLeft}}) {
        ASSERT_TRUE(key < 0 ? s.Type(std::string(1, static_cast<char>(-key))) : s.PressKey(key));
        EXPECT_EQ(std::string(s.App().gameFolder), start);
        EXPECT_TRUE(WholePagePresented());
    }

    for (size_t i = 0; i < start.size(); ++i) ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    EXPECT_STREQ(s.App().gameFolder, "");
    EXPECT_EQ(s.Caption(2), "|");
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));  // on an empty field
    EXPECT_STREQ(s.App().gameFolder, "");
    EXPECT_TRUE(WholePagePresented());
}

TEST(WizardFolderField, TypingStopsAtTheFieldsWidth) {
    WizardSession s;
    ReachFolderPage(s);
    for (size_t n = std::string(s.App().gameFolder).size(); n > 0; --n) ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    const int16_t fieldWidth = s.App().boxWidth;
    ASSERT_EQ(fieldWidth, ComputePageLayout(550, 350, 0).panelWidth - 20);
    ASSERT_TRUE(s.Type(std::string(80, 'W')));
    const std::string typed = s.App().gameFolder;
    ASSERT_GT(typed.size(), 5u);
    ASSERT_LT(typed.size(), 80u);
    EXPECT_LE(TextWidth(1, typed.c_str()), fieldWidth);
    EXPECT_GT(TextWidth(1, (typed + "W").c_str()), fieldWidth);
    // A narrower character may still fit where a W did not.
    ASSERT_TRUE(s.Type("."));
    const std::string after = s.App().gameFolder;
    EXPECT_EQ(after.size() == typed.size() + 1, TextWidth(1, (typed + ".").c_str()) <= fieldWidth);
}

TEST(WizardFolderField, AFolderOf199CharactersTakesNoMore) {
    // The record may hold 199 characters; the field shows their end and the caret.
    WizardSession s;
    ReachWriteFailedPage(s);
    const std::string longFolder = "c:\\" + std::string(194, 'd') + "\\z";
    ASSERT_EQ(longFolder.size(), 199u);
    std::snprintf(s.App().gameFolder, WizardTextSize, "%s", longFolder.c_str());
    ASSERT_TRUE(s.ClickSlot(3));
    ASSERT_EQ(s.State(), StateEnterFolder);
    const std::string caption = s.Caption(2);
    ASSERT_EQ(caption.size(), 199u);
    EXPECT_EQ(caption.substr(caption.size() - 3), "\\z|");
    ASSERT_TRUE(s.Type("a"));
    EXPECT_EQ(std::string(s.App().gameFolder), longFolder);
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    EXPECT_EQ(std::string(s.App().gameFolder), longFolder.substr(0, 198));
}

}  // namespace
