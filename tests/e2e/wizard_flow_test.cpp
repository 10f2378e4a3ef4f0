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

TEST(WizardFlow, MissingGameProgramMeansNotInstalled) {
    WizardSession s;
    ReachNotInstalledPage(s);
    EXPECT_EQ(s.Caption(5), "Unable to find TLF installation");
    EXPECT_EQ(s.Caption(6), "Re-install TLF from CD and try again");
}

TEST(WizardFlow, LocationWithoutTheGameMeansNotInstalled) {
    WizardSession s;
    s.SetRecord("Location", s.root.Join("nowhere"));
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    EXPECT_EQ(s.State(), StateNotInstalled);
}

#ifndef _WIN32
// Under Wine the record is the prefix's registry, where a test cannot take values away.
TEST(WizardFlow, MissingRecordMeansNotInstalled) {
    WizardSession s;
    std::filesystem::remove(s.registryFile);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    EXPECT_EQ(s.State(), StateNotInstalled);
}

TEST(WizardFlow, MissingLocationMeansNotInstalled) {
    WizardSession s;
    std::filesystem::remove(s.registryFile);
    s.SetRecord("Version", "Release");
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    EXPECT_EQ(s.State(), StateNotInstalled);
    EXPECT_STREQ(s.App().installedVersion, "Version 3.02 (ENG)");
}

TEST(WizardFlow, MissingVersionMeansNotInstalled) {
    WizardSession s;
    std::filesystem::remove(s.registryFile);
    s.SetRecord("Location", s.gameFolder);
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    EXPECT_EQ(s.State(), StateNotInstalled);
    EXPECT_STREQ(s.App().gameFolder, "c:\\tlfdemo");  // not read after the version failed
}
#endif

// ---- the transition table, page by page -----------------------------------------------------

TEST(WizardFlow, NotInstalledPageOffersOnlyExit) {
    {
        WizardSession s;
        ReachNotInstalledPage(s);
        ASSERT_TRUE(s.ClickSlot(3));  // "< Back" is inert
        EXPECT_EQ(s.State(), StateNotInstalled);
        EXPECT_FALSE(s.ClickSlot(4));  // Exit
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
    {
        WizardSession t;
        ReachNotInstalledPage(t);
        EXPECT_FALSE(t.ClickSlot(0));  // the window's Exit
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
}

TEST(WizardFlow, VersionPageBackReturnsToTheLanguages) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage(LanguageFrench));
    ASSERT_TRUE(s.ClickSlot(3));
    EXPECT_EQ(s.State(), StateChooseLanguage);
    for (int i = 0; i < LanguageCount; ++i) EXPECT_EQ(s.Argument(i + 1), i);
    EXPECT_EQ(s.Caption(0), "Quitter");  // the page keeps the chosen language until another is chosen
    ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
    EXPECT_EQ(s.State(), StateConfirmVersions);
    EXPECT_EQ(s.Caption(4), "Next >");
}

TEST(WizardFlow, VersionPageNextAndEnterStartTheUpdate) {
    {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage());
        ASSERT_TRUE(s.ClickSlot(4));
        EXPECT_EQ(s.State(), StateUpdating);
    }
    {
        WizardSession t;
        ASSERT_TRUE(t.Start());
        ASSERT_TRUE(t.ChooseLanguage());
        ASSERT_TRUE(t.PressKey(HeadlessKeyEnter));
        EXPECT_EQ(t.State(), StateUpdating);
    }
}

TEST(WizardFlow, SourceMissingPageOffersOnlyExit) {
    WizardSession s;
    ReachSourceMissingPage(s);
    EXPECT_EQ(s.Caption(5), "Unable to find a source file");
    EXPECT_EQ(s.Caption(6), "The update file is corrupt");
    ASSERT_TRUE(s.ClickSlot(3));
    EXPECT_EQ(s.State(), StateSourceMissing);
    EXPECT_FALSE(s.ClickSlot(4));
    EXPECT_TRUE(HeadlessOpenedDocuments().empty());
}

TEST(WizardFlow, WriteFailedPageLeadsBackToTheFolder) {
    {
        WizardSession s;
        ReachWriteFailedPage(s);
        for (int slot = 5; slot < WizardSlotCount; ++slot) EXPECT_EQ(s.Action(slot), -99) << "no message line";
        ASSERT_TRUE(s.ClickSlot(3));
        EXPECT_EQ(s.State(), StateEnterFolder);
    }
    {
        WizardSession t;
        ReachWriteFailedPage(t);
        EXPECT_FALSE(t.ClickSlot(4));  // Exit
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
}

TEST(WizardFlow, FolderPageBackAndNext) {
    {
        WizardSession s;
        ReachFolderPage(s);
        ASSERT_TRUE(s.ClickSlot(3));
        EXPECT_EQ(s.State(), StateChooseLanguage);
    }
    {
        WizardSession t;
        ReachFolderPage(t);
        ASSERT_TRUE(t.ClickSlot(4));
        EXPECT_EQ(t.State(), StateConfirmVersions);
    }
}

TEST(WizardFlow, ExitEndsTheProgramFromEveryPageWithoutTheReadmeButTheLast) {
    {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        EXPECT_FALSE(s.ClickSlot(0));  // language page
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
    {
        WizardSession v;
        ASSERT_TRUE(v.Start());
        ASSERT_TRUE(v.ChooseLanguage());
        EXPECT_FALSE(v.ClickSlot(0));  // version page
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
    {
        WizardSession q;
        ReachQuickStartPage(q);
        EXPECT_FALSE(q.ClickSlot(0));
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
        EXPECT_TRUE(q.GameFileExists("qstart/league.qst"));
    }
    {
        WizardSession f;
        ReachFolderPage(f);
        EXPECT_FALSE(f.ClickSlot(0));
        EXPECT_TRUE(HeadlessOpenedDocuments().empty());
    }
}

// ---- Enter and Escape in every state --------------------------------------------------------

TEST(WizardKeys, EnterOnTheLanguagePageDoesNothing) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    EXPECT_EQ(s.State(), StateChooseLanguage);
}

TEST(WizardKeys, EnterDuringTheUpdateDoesNothing) {
    WizardSession s;
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_TRUE(s.ClickSlot(4));
    ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));
    EXPECT_EQ(s.State(), StateUpdating);
    EXPECT_EQ(s.App().fileCounter, 2);
}

TEST(WizardKeys, EnterPressesTheRightHandCommand) {
    {
        WizardSession s;
        ReachNotInstalledPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEnter));  // Exit
    }
    {
        WizardSession s;
        ReachSourceMissingPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEnter));  // Exit
    }
    {
        WizardSession s;
        ReachWriteFailedPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEnter));  // Exit
    }
    {
        WizardSession s;
        ReachFolderPage(s);
        ASSERT_TRUE(s.PressKey(HeadlessKeyEnter));  // Next
        EXPECT_EQ(s.State(), StateConfirmVersions);
        EXPECT_EQ(std::string(s.App().gameFolder), s.gameFolder) << "Enter is not typed";
    }
    EXPECT_TRUE(HeadlessOpenedDocuments().empty());
}

TEST(WizardKeys, EscapeEndsTheProgramInEveryState) {
    {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
    }
    {
        WizardSession s;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage());
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
    }
    {
        WizardSession s;
        ReachNotInstalledPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
    }
    {
        WizardSession s;
        ReachSourceMissingPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
    }
    {
        WizardSession s;
        ReachQuickStartPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
        EXPECT_TRUE(s.GameFileExists("qstart/cup.qst"));
    }
    {
        WizardSession s;
        ReachWriteFailedPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
    }
    {
        WizardSession s;
        ReachFolderPage(s);
        EXPECT_FALSE(s.PressKey(HeadlessKeyEscape));
        EXPECT_EQ(std::string(s.App().gameFolder), s.gameFolder) << "Escape is not typed";
    }
    EXPECT_TRUE(HeadlessOpenedDocuments().empty());
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

TEST(WizardFolderField, TypingAppendsAndBackspaceRemoves) {
    WizardSession s;
    ReachFolderPage(s);
    const std::string start = s.App().gameFolder;
    ASSERT_TRUE(s.Type("x_1"));
    EXPECT_EQ(std::string(s.App().gameFolder), start + "x_1");
    EXPECT_EQ(s.Caption(2), start + "x_1|");
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    EXPECT_EQ(std::string(s.App().gameFolder), start + "x_");
    EXPECT_EQ(s.Caption(2), start + "x_|");
}

TEST(WizardFolderField, RefusedKeysStillRedrawThePage) {
    WizardSession s;
    ReachFolderPage(s);
    const std::string start = s.App().gameFolder;
    ASSERT_TRUE(s.Type("\xe9"));  // code 233: refused
    EXPECT_EQ(std::string(s.App().gameFolder), start);
    EXPECT_TRUE(WholePagePresented());
    ASSERT_TRUE(s.PressKey(HeadlessKeyTab));  // a control character: refused
    EXPECT_EQ(std::string(s.App().gameFolder), start);
    EXPECT_TRUE(WholePagePresented());
    ASSERT_TRUE(s.PressKey(HeadlessKeyLeft));  // no character at all
    EXPECT_EQ(std::string(s.App().gameFolder), start);
    EXPECT_TRUE(WholePagePresented());

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
    std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
    ASSERT_TRUE(s.Start());
    ASSERT_TRUE(s.ChooseLanguage());
    ASSERT_TRUE(s.RunUpdate());
    ASSERT_EQ(s.State(), StateWriteFailed);
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
