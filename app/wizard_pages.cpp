// wizard_pages.cpp: Redraw, the drawing of the wizard's pages.
//
// Every call paints the whole frame buffer: the blue ramp, the heading and the version line, then
// the page of `state`. The Buttons a page is made of are also what RunFrame polls, so building a
// page here defines its commands. Called by RunFrame after every change of state (and after each
// key in the folder field), and by the window procedure on a paint.
#include <cstdio>
#include <cstring>

#include "app/installer_app.h"
#include "app/texts.h"
#include "app/wizard_layout.h"
#include "app/write_failure_text.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/text_convert.h"

namespace {

// The fonts of the pages: captions and text lines are font 1 (the Buttons draw them), the
// version line and the progress heading font 2, the heading font 5.
constexpr int32_t HeadingFont = 5;
constexpr int32_t SubheadingFont = 2;
constexpr int16_t CommandWidth = 80;
constexpr int16_t CommandHeight = 20;
constexpr uint16_t TextBlack = 0;
constexpr uint16_t TextBlue = 31;
constexpr int16_t LineSpacing = 17;

Button* MakePanel(int16_t x, int16_t y, int16_t width, int16_t height) {
    return CreateButton(x, y, width, height, "", ActionInert, 0, 0);
}

Button* MakeInset(int16_t x, int16_t y, int16_t width, int16_t height) {
    Button* inset = MakePanel(x, y, width, height);
    if (inset != nullptr) inset->pressed = true;
    return inset;
}

Button* MakeCommand(int16_t x, int16_t y, const char* caption, int32_t action, int32_t argument) {
    return CreateButton(x, y, CommandWidth, CommandHeight, caption, action, argument, 0);
}

Button* MakeLabel(int16_t x, int16_t y, int16_t width, const char* text, uint16_t colour) {
    return CreateButton(x, y, width, 0, text, ActionLabel, 0, colour);
}

}  // namespace

void InstallerApp::Redraw() {
    if (!IsGraphicsOpen()) return;
    const int16_t width = GetScreenWidth();
    const int16_t height = GetScreenHeight();

    for (int16_t y = 0; y < height; ++y) DrawLine(0, y, width, y, LineSolid, BackgroundRowColour(y, height));
    DrawText(10, 0, HeadingFont, ColourHeadingYellow, WindowTitle[language]);
    DrawText(10, static_cast<int16_t>(FontHeight(HeadingFont)), SubheadingFont, ColourHeadingYellow, NewVersionText);

    const bool newPage = state != drawnState;
    if (newPage) {
        ReleaseButtons(0);
        buttons[0] = MakeCommand(static_cast<int16_t>(width - 100), static_cast<int16_t>(height - 40),
                                 ExitLabel[language], ActionFinish, 0);
    }

    bool drawButtons = true;
    if (state == StateChooseLanguage) {
        // The language Buttons are built once per entry and kept over repaints.
        if (newPage) drawButtons = !BuildLanguagePage();
    } else {
        ReleaseButtons(1);
        BuildPage();
    }

    if (drawButtons) {
        for (int i = 0; i < WizardSlotCount; ++i) {
            if (buttons[i] != nullptr) DrawButton(buttons[i]);
        }
    }
    drawnState = state;
}

int BuildLanguageButtons(Button** slots, const uint8_t* offered, int16_t screenWidth, int16_t screenHeight) {
    const int16_t headerHeight = static_cast<int16_t>(FontHeight(HeadingFont) + FontHeight(SubheadingFont));
    int count = 0;
    int16_t widest = 0;
    for (int i = 0; i < LanguageCount; ++i) {
        if (offered[i] == 0) continue;
        ++count;
        const int16_t captionWidth = static_cast<int16_t>(TextWidth(SubheadingFont, LanguageButtonText[i]));
        if (captionWidth > widest) widest = captionWidth;
    }
    const LanguageButtonPlacement place = PlaceLanguageButtons(
        screenWidth, screenHeight, headerHeight, static_cast<int16_t>(FontHeight(SubheadingFont)), widest, count);

    int slot = 1;
    for (int i = 0; i < LanguageCount && slot < WizardSlotCount; ++i) {
        if (offered[i] == 0) continue;
        const int16_t y = static_cast<int16_t>(place.firstY + (slot - 1) * place.pitch);
        slots[slot] = CreateButton(place.x, y, place.width, place.height, LanguageButtonText[i], ActionChooseLanguage, i, 0);
        ++slot;
    }
    if (count == 1 && slots[1] != nullptr) slots[1]->forceClick = true;
    return count;
}

// Returns true when only one language is offered: its Button is clicked by the next poll, and
// nothing is drawn now.
bool InstallerApp::BuildLanguagePage() {
    return BuildLanguageButtons(buttons, LanguageEnabled, GetScreenWidth(), GetScreenHeight()) == 1;
}

// Slots 1 and 2 of the pages with the standard frame: the panel and the sunken inset in it.
void InstallerApp::BuildStandardFrame() {
    const PageLayout l = ComputePageLayout(GetScreenWidth(), GetScreenHeight(),
                                           static_cast<int16_t>(FontHeight(HeadingFont) + FontHeight(SubheadingFont)));
    buttons[1] = MakePanel(l.panelX, l.panelY, l.panelWidth, l.panelHeight);
    buttons[2] = MakeInset(static_cast<int16_t>(l.panelX + 10), static_cast<int16_t>(l.panelY + 10),
                           static_cast<int16_t>(l.panelWidth - 20), static_cast<int16_t>(l.panelHeight - 50));
}

// Wrapped text in blue from `slot` on: names of files and folders, as the version page shows its
// versions.
void InstallerApp::AddBlueWrappedText(int16_t& slot, int16_t& y, int16_t x, int16_t width, const char* text) {
    const int16_t first = slot;
    AddWrappedText(buttons, WizardSlotCount, slot, y, x, width, text);
    for (int16_t i = first; i < slot; ++i) buttons[i]->textColour = TextBlue;
}

// The message of the write-failure page from slot 5: what could not be written (the file in blue,
// unless the space check refused the whole update), why, and what to do, an empty line between.
void InstallerApp::BuildWriteFailureText(int16_t x, int16_t y, int16_t width) {
    int16_t slot = 5;
    const WriteFailureRecord& failure = lastWriteFailure;
    if (failure.file[0] != 0) {
        AddWrappedText(buttons, WizardSlotCount, slot, y, x, width, WriteFailedText[language]);
        char name[WizardPathSize];
        FileNameInGame(failure.file, gameFolder, name, sizeof name);
        AddBlueWrappedText(slot, y, x, width, PathForDisplay(name).c_str());
    }
    char reason[ButtonLabelCapacity];
    WriteFailureReasonLine(failure, language, reason, sizeof reason);
    AddWrappedText(buttons, WizardSlotCount, slot, y, x, width, reason);
    y = static_cast<int16_t>(y + LineSpacing);
    AddWrappedText(buttons, WizardSlotCount, slot, y, x, width, WriteFailureAdviceText(failure.reason)[language]);
    if (unitFailures == 0) AddWrappedText(buttons, WizardSlotCount, slot, y, x, width, ExitLeavesGameText[language]);
}

// Builds slots 1 to 13 of every page but the language page.
void InstallerApp::BuildPage() {
    const int16_t width = GetScreenWidth();
    const int16_t height = GetScreenHeight();
    const PageLayout l = ComputePageLayout(width, height,
                                           static_cast<int16_t>(FontHeight(HeadingFont) + FontHeight(SubheadingFont)));
    const int16_t wrapWidth = static_cast<int16_t>(l.panelWidth - 34);
    const int16_t firstLineY = static_cast<int16_t>(l.panelY + 15);
    const int16_t secondLineY = static_cast<int16_t>(l.panelY + 32);
    int16_t slot = 5;
    int16_t y = firstLineY;

    switch (state) {
    case StateNotInstalled:
    case StateInstallCorrupt:
    case StateSourceMissing: {
        // An error with two lines and only Exit as a way on; "< Back" is shown inert.
        BuildStandardFrame();
        buttons[3] = MakeCommand(l.leftX, l.commandY, BackLabel[language], ActionInert, 0);
        buttons[4] = MakeCommand(l.rightX, l.commandY, ExitLabel[language], ActionFinish, 0);
        const char* first = state == StateNotInstalled   ? NotInstalledText[language]
                            : state == StateInstallCorrupt ? InstallCorruptText[language]
                                                           : SourceMissingText[language];
        const char* second = state == StateSourceMissing ? PackageCorruptText[language] : ReinstallText[language];
        buttons[5] = MakeLabel(l.textX, firstLineY, l.panelWidth, first, TextBlack);
        buttons[6] = MakeLabel(l.textX, secondLineY, l.panelWidth, second, TextBlack);
        if (state == StateSourceMissing) {
            // The file at fault, in blue under the two lines, wrapped like a long path must be;
            // then that the game was put back (unless putting back failed: the next start does it).
            slot = 7;
            y = static_cast<int16_t>(secondLineY + LineSpacing);
            if (faultyFile[0] != 0) AddBlueWrappedText(slot, y, l.textX, wrapWidth, faultyFile);
            if (unitFailures == 0) AddWrappedText(buttons, WizardSlotCount, slot, y, l.textX, wrapWidth, GameLeftAsItWasText[language]);
        }
        break;
    }
    case StateConfirmVersions:
        BuildStandardFrame();
        buttons[3] = MakeCommand(l.leftX, l.commandY, BackLabel[language], ActionGoToState, StateChooseLanguage);
        buttons[4] = MakeCommand(l.rightX, l.commandY, NextLabel[language], ActionGoToState, StateUpdating);
        buttons[5] = MakeLabel(l.textX, firstLineY, l.panelWidth, InstalledVersionCaption[language], TextBlack);
        buttons[6] = MakeLabel(static_cast<int16_t>(l.panelX + 30), secondLineY, l.panelWidth, PathForDisplay(installedVersion).c_str(), TextBlue);
        buttons[7] = MakeLabel(l.textX, static_cast<int16_t>(l.panelY + 66), l.panelWidth, NewVersionCaption[language], TextBlack);
        buttons[8] = MakeLabel(static_cast<int16_t>(l.panelX + 30), static_cast<int16_t>(l.panelY + 83), l.panelWidth,
                               NewVersionText, TextBlue);
        buttons[9] = MakeLabel(l.textX, static_cast<int16_t>(l.panelY + 117), l.panelWidth,
                               ClickNextToUpdateText[language], TextBlack);
        break;
    case StateUpdating:
        // No frame and no commands: the progress panel, its trough, and the heading above it.
        boxX = l.panelX;
        boxY = static_cast<int16_t>((height - l.headerHeight) / 2);
        boxWidth = l.panelWidth;
        buttons[1] = MakePanel(boxX, boxY, boxWidth, 40);
        buttons[2] = MakeInset(static_cast<int16_t>(boxX + 10), static_cast<int16_t>(boxY + 10),
                               static_cast<int16_t>(boxWidth - 20), 20);
        DrawText(l.panelX, static_cast<int16_t>(boxY - 40), SubheadingFont, ColourHeadingYellow, UpdatingText[language]);
        break;
    case StateCompleted:
        BuildStandardFrame();
        buttons[3] = MakeCommand(l.leftX, l.commandY, BackLabel[language], ActionInert, 0);
        buttons[4] = MakeCommand(l.rightX, l.commandY, FinishLabel[language], ActionFinish, 0);
        buttons[5] = MakeLabel(l.textX, firstLineY, l.panelWidth, CompletedText[language], TextBlack);
        break;
    case StateQuickStartPrompt:
        // "Yes" stands left but sits in slot 4, the slot Enter presses; "No" stands right in slot 3.
        BuildStandardFrame();
        buttons[3] = MakeCommand(l.rightX, l.commandY, NoLabel[language], ActionKeepQuickStart, 0);
        buttons[4] = MakeCommand(l.leftX, l.commandY, YesLabel[language], ActionDeleteQuickStart, 0);
        AddWrappedText(buttons, WizardSlotCount, slot, y, l.textX, wrapWidth, QuickStartOutdatedText[language]);
        y = static_cast<int16_t>(y + LineSpacing);
        AddWrappedText(buttons, WizardSlotCount, slot, y, l.textX, wrapWidth, DeleteQuickStartQuestion[language]);
        break;
    case StateEnterFolder: {
        boxX = static_cast<int16_t>(l.panelX + 10);
        boxY = static_cast<int16_t>((height - l.headerHeight) / 2 + 40);
        boxWidth = static_cast<int16_t>(l.panelWidth - 20);
        buttons[1] = MakePanel(l.panelX, l.panelY, l.panelWidth, l.panelHeight);
        char caption[WizardTextSize];
        FolderFieldCaption(gameFolder, caption);
        buttons[2] = CreateButton(boxX, boxY, boxWidth, 25, caption, ActionTextField, 0, 0);
        if (buttons[2] != nullptr) buttons[2]->pressed = true;
        buttons[3] = MakeCommand(l.leftX, l.commandY, BackLabel[language], ActionGoToState, StateChooseLanguage);
        buttons[4] = MakeCommand(l.rightX, l.commandY, NextLabel[language], ActionGoToState, StateConfirmVersions);
        y = static_cast<int16_t>(l.panelY + 10);
        AddWrappedText(buttons, WizardSlotCount, slot, y, boxX, boxWidth, FolderPromptText[language]);
        y = static_cast<int16_t>(y + LineSpacing);
        AddWrappedText(buttons, WizardSlotCount, slot, y, boxX, boxWidth, ClickNextToContinueText[language]);
        break;
    }
    case StateWriteFailed:
        BuildStandardFrame();
        buttons[3] = MakeCommand(l.leftX, l.commandY, BackLabel[language], ActionGoToState, StateEnterFolder);
        buttons[4] = MakeCommand(l.rightX, l.commandY, ExitLabel[language], ActionFinish, 0);
        BuildWriteFailureText(l.textX, firstLineY, wrapWidth);
        break;
    case StateNotCompatible:
        BuildStandardFrame();
        buttons[3] = MakeCommand(l.leftX, l.commandY, BackLabel[language], ActionInert, 0);
        buttons[4] = MakeCommand(l.rightX, l.commandY, ExitLabel[language], ActionFinish, 0);
        AddWrappedText(buttons, WizardSlotCount, slot, y, l.textX, wrapWidth, NotCompatibleText[language]);
        break;
    default:
        break;  // no page: only the Exit Button
    }
}
