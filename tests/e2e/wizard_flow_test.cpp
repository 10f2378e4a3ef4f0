// wizard_flow_test.cpp: the wizard's transitions by click and by key on every page, the record
// as the version page shows it, and the limits of the folder field. What the pages look like is
// the golden pages' part (golden_pages_test.cpp).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/texts.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/wizard_session.h"

namespace {

// The ways to the pages: reached as a player reaches them, the reserved ones (entered by no
// transition) by setting the state and drawing.
enum Page { Language, Version, NotInstalled, SourceMissing, WriteFailed, Folder, QuickStart, Updating, Completed, InstallCorrupt, NotCompatible };

void Reach(WizardSession& s, Page page) {
    if (page == NotInstalled) std::filesystem::remove(JoinNative(s.gameFolder, "tlf.exe"));
    if (page == SourceMissing) std::filesystem::remove(JoinNative(s.updateFolder, "update.dat"));
    if (page == WriteFailed || page == Folder) std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
    if (page == QuickStart) s.AddQuickStartFiles();
    ASSERT_TRUE(s.Start());
    if (page == InstallCorrupt || page == NotCompatible) {
        s.App().state = page == InstallCorrupt ? StateInstallCorrupt : StateNotCompatible;
        s.App().Redraw();
    }
    if (page == Language || page == InstallCorrupt || page == NotCompatible) return;
    ASSERT_TRUE(s.ChooseLanguage());
    if (page == SourceMissing || page == WriteFailed || page == Folder || page == QuickStart || page == Completed) { ASSERT_TRUE(s.RunUpdate()); }
    if (page == Updating) { ASSERT_TRUE(s.ClickSlot(4)); }
    if (page == Folder) { ASSERT_TRUE(s.ClickSlot(3)); }
    const int16_t states[] = {StateChooseLanguage, StateConfirmVersions, StateNotInstalled, StateSourceMissing,
                              StateWriteFailed, StateEnterFolder, StateQuickStartPrompt, StateUpdating, StateCompleted};
    ASSERT_EQ(s.State(), states[page]);
}

constexpr int16_t kEnds = -1;
constexpr int kEnter = -HeadlessKeyEnter;
constexpr int kEscape = -HeadlessKeyEscape;

// One input on one page: a click on a slot (0 and up) or a key, and the state it leads to.
struct FlowRow {
    const char* name;
    Page page;
    int input;
    int16_t next;
};

const FlowRow kFlowRows[] = {
    {"language", Language, 0, kEnds},
    {"language", Language, kEnter, StateChooseLanguage},
    {"language", Language, kEscape, kEnds},
    {"version", Version, 0, kEnds},
    {"version", Version, 3, StateChooseLanguage},
    {"version", Version, 4, StateUpdating},
    {"version", Version, kEnter, StateUpdating},
    {"version", Version, kEscape, kEnds},
    {"not installed", NotInstalled, 0, kEnds},
    {"not installed", NotInstalled, 3, StateNotInstalled},  // "< Back" is inert
    {"not installed", NotInstalled, 4, kEnds},
    {"not installed", NotInstalled, kEnter, kEnds},
    {"not installed", NotInstalled, kEscape, kEnds},
    {"source missing", SourceMissing, 3, StateSourceMissing},
    {"source missing", SourceMissing, 4, kEnds},
    {"source missing", SourceMissing, kEnter, kEnds},
    {"source missing", SourceMissing, kEscape, kEnds},
    {"write failed", WriteFailed, 3, StateEnterFolder},
    {"write failed", WriteFailed, 4, kEnds},
    {"write failed", WriteFailed, kEnter, kEnds},
    {"write failed", WriteFailed, kEscape, kEnds},
    {"folder", Folder, 0, kEnds},
    {"folder", Folder, 3, StateChooseLanguage},
    {"folder", Folder, 4, StateConfirmVersions},
    {"folder", Folder, kEnter, StateConfirmVersions},
    {"folder", Folder, kEscape, kEnds},
    {"quick start", QuickStart, 0, kEnds},
    {"quick start", QuickStart, kEscape, kEnds},
    {"quick start", QuickStart, 3, StateCompleted},       // No
    {"quick start", QuickStart, 4, StateCompleted},       // Yes, on the left but in slot 4 where Enter presses
    {"quick start", QuickStart, kEnter, StateCompleted},
    {"updating", Updating, kEnter, StateUpdating},
    {"completed", Completed, 0, kEnds},  // Exit, Finish and Enter open the readme, Escape does not
    {"completed", Completed, 4, kEnds},
    {"completed", Completed, kEnter, kEnds},
    {"completed", Completed, kEscape, kEnds},
    {"install corrupt", InstallCorrupt, 3, StateInstallCorrupt},
    {"install corrupt", InstallCorrupt, kEnter, kEnds},
    {"not compatible", NotCompatible, kEnter, StateNotCompatible},
    {"not compatible", NotCompatible, 4, kEnds},
};

TEST(WizardFlow, EveryTransitionByClickAndByKey) {
    for (const FlowRow& row : kFlowRows) {
        SCOPED_TRACE(std::string(row.name) + " page, input " + std::to_string(row.input));
        WizardSession s;
        Reach(s, row.page);
        if (::testing::Test::HasFatalFailure()) return;
        const bool goesOn = row.input >= 0 ? s.ClickSlot(row.input) : s.PressKey(-row.input);
        EXPECT_EQ(goesOn, row.next != kEnds);
        if (goesOn) { EXPECT_EQ(s.State(), row.next); }
        const bool opensReadme = row.page == Completed && row.input != kEscape;
        EXPECT_EQ(HeadlessOpenedDocuments(), opensReadme ? std::vector<std::string>{s.gameFolder + "\\readme.txt"} : std::vector<std::string>{});
        if (row.page == Folder && row.input < 0) { EXPECT_EQ(std::string(s.App().gameFolder), s.gameFolder) << "Enter and Escape are not typed"; }
        const bool deleted = row.page == QuickStart && (row.input == 4 || row.input == kEnter);
        if (row.page == QuickStart) { EXPECT_TRUE(s.GameFileExists("qstart/league.qst") != deleted && s.GameFileExists("qstart/cup.qst") != deleted && s.GameFileExists("qstart/notes.txt")); }
    }
}

// Then "< Back" to the language page, which keeps the language until another is chosen.
TEST(WizardFlow, ChoosingALanguageReadsTheRecordAndOnlyTheExactWordReleaseIsReplaced) {
    const char* const shown[][2] = {
        {"Release", "Version 3.02 (ENG)"}, {"release", "release"}, {"Release ", "Release "},
        {"Version 3.03 (ENG)", "Version 3.03 (ENG)"}, {"", ""},
    };
    for (const auto& row : shown) {
        WizardSession s;
        s.SetRecord("Version", row[0]);
        ASSERT_TRUE(s.Start());
        EXPECT_STREQ(s.App().gameFolder, "c:\\tlfdemo");
        ASSERT_TRUE(s.ChooseLanguage(LanguageSpanish));
        EXPECT_EQ(s.State(), StateConfirmVersions) << "the update is offered for \"" << row[0] << "\"";
        EXPECT_EQ(std::string(s.App().gameFolder), s.gameFolder);
        EXPECT_STREQ(s.App().installedVersion, row[1]);
        EXPECT_EQ(s.Caption(6), row[1]);
        ASSERT_EQ(HeadlessTitles().size(), 2u);
        EXPECT_EQ(HeadlessTitles()[1], WindowTitle[LanguageSpanish]);
        ASSERT_TRUE(s.ClickSlot(3));
        EXPECT_EQ(s.Caption(0), ExitLabel[LanguageSpanish]);
        ASSERT_TRUE(s.ChooseLanguage(LanguageEnglish));
        EXPECT_EQ(s.Caption(4), NextLabel[LanguageEnglish]);
    }
}

// ---- the folder field -----------------------------------------------------------------------

bool WholePagePresented() {
    const auto& r = HeadlessPresentedRects();
    return !r.empty() && r.back().x == 0 && r.back().y == 0 && r.back().width == 550 && r.back().height == 350;
}

TEST(WizardFolderField, TypingAppendsBackspaceRemovesAndRefusedKeysStillRedraw) {
    WizardSession s;
    Reach(s, Folder);
    const std::string start = s.App().gameFolder;
    ASSERT_TRUE(s.Type("x_1"));
    EXPECT_EQ(s.Caption(2), start + "x_1|");
    for (int i = 0; i < 3; ++i) ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    EXPECT_EQ(s.Caption(2), start + "|");
    // Code 233, a control character, no character at all: refused, but the page is redrawn.
    for (int key : {-0xe9, int{HeadlessKeyTab}, int{HeadlessKeyLeft}}) {
        ASSERT_TRUE(key < 0 ? s.Type(std::string(1, static_cast<char>(-key))) : s.PressKey(key));
        EXPECT_EQ(std::string(s.App().gameFolder), start);
        EXPECT_TRUE(WholePagePresented());
    }
    for (size_t i = 0; i <= start.size(); ++i) ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));  // one on empty
    EXPECT_EQ(s.Caption(2), "|");
    EXPECT_TRUE(WholePagePresented());
    // A text exactly as wide as the field is taken whole, and nothing more after it.
    const std::string full = std::string(34, 'W') + "d";
    ASSERT_EQ(TextWidth(1, full.c_str()), s.App().boxWidth) << "the fonts changed: find another text as wide";
    ASSERT_TRUE(s.Type(full + "."));
    EXPECT_EQ(s.App().gameFolder, full);
}

TEST(WizardFolderField, AFolderOf199CharactersTakesNoMore) {
    WizardSession s;
    Reach(s, WriteFailed);
    const std::string longFolder = "c:\\" + std::string(194, 'd') + "\\z";
    std::snprintf(s.App().gameFolder, WizardTextSize, "%s", longFolder.c_str());
    ASSERT_TRUE(s.ClickSlot(3));
    EXPECT_EQ(s.Caption(2), longFolder.substr(1) + "|") << "the field's text holds 199 characters, the caret's included";
    ASSERT_TRUE(s.Type("a"));
    EXPECT_EQ(std::string(s.App().gameFolder), longFolder);
    ASSERT_TRUE(s.PressKey(HeadlessKeyBackspace));
    EXPECT_EQ(std::string(s.App().gameFolder), longFolder.substr(0, 198));
}

}  // namespace
