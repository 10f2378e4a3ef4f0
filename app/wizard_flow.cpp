// wizard_flow.cpp: RunFrame, the wizard's per-frame logic, and the actions of its Buttons.
//
// One call reads at most one key event, advances the update by at most one step and polls the
// ten Button slots. Every change of state is followed at once by Redraw. The update runs one
// step per frame: step 0 checks the sources (every source opens, and "update.dat" is whole),
// steps 1 to 47 install one entry each, step 48 writes the new version, deletes "tlf.icd" and
// asks about the quick-start files.
//
// No game file is lost on a failure: every entry, the readme included, is written to a temporary
// file beside its target, which replaces the target only when complete. The language readme is
// copied, so the installer's folder stays whole and the installer can run again.
#include <cstdio>
#include <cstring>

#include "app/installer_app.h"
#include "app/texts.h"
#include "app/wizard_layout.h"
#include "framework/keyboard.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "package/install_record.h"
#include "package/quick_start.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "platform/platform_display.h"
#include "platform/platform_system.h"

namespace {

constexpr int32_t TextFont = 1;
// Room for the game folder (199), the longest subfolder and the longest entry name.
constexpr size_t WizardPathSize = 260;

// Joins the game folder and a name with one backslash. False when it does not fit.
bool JoinGamePath(char* path, const char* folder, const char* name) {
    const int written = std::snprintf(path, WizardPathSize, "%s\\%s", folder, name);
    return written > 0 && static_cast<size_t>(written) < WizardPathSize;
}

bool SourceOpens(const char* name) {
    FILE* file = PlatformOpenFile(name, "r");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

}  // namespace

bool InstallerApp::RunFrame() {
    // VERYSILENT runs the wizard without a window: nothing is drawn, nothing is read from input.
    if (!IsGraphicsOpen() && !options.verySilent) return false;

    uint8_t character = 0;
    int32_t keyCode = 0;
    if (keyboard != nullptr && keyboard->ReadKey(character, keyCode)) {
        const KeyClass key = KEYBOARD::ClassifyKey(keyCode);
        if (key == KeyEscape) quit = true;
        const bool enterPressesSlot4 = state == StateNotInstalled || state == StateConfirmVersions ||
                                       state == StateCompleted || state == StateSourceMissing ||
                                       state == StateInstallCorrupt || state == StateQuickStartPrompt ||
                                       state == StateEnterFolder || state == StateWriteFailed;
        if (enterPressesSlot4 && key == KeyEnter) {
            if (buttons[4] != nullptr) buttons[4]->forceClick = true;
        } else if (state == StateEnterFolder) {
            EditFolder(character, keyCode);
            Redraw();
        }
    }

    if (state == StateUpdating) RunUpdateStep();

    for (int i = 0; i < WizardSlotCount; ++i) {
        if (!UpdateButton(buttons[i], mouse)) continue;
        // Read before acting: the action may rebuild the page and release this Button.
        const int32_t action = static_cast<int16_t>(buttons[i]->action);
        const int32_t argument = buttons[i]->argument;
        CarryOutAction(action, argument);
    }

    AfterFrame();
    return !quit;
}

// Backspace removes the last character; a character of code 32 to 127 is appended while the
// folder holds fewer than 199 characters and still fits the field's width in font 1.
void InstallerApp::EditFolder(uint8_t character, int32_t keyCode) {
    const size_t length = std::strlen(gameFolder);
    if (KEYBOARD::ClassifyKey(keyCode) == KeyBackspace) {
        if (length > 0) gameFolder[length - 1] = '\0';
        return;
    }
    if (static_cast<int8_t>(character) < 32 || length >= WizardTextSize - 1) return;
    gameFolder[length] = static_cast<char>(character);
    gameFolder[length + 1] = '\0';
    if (TextWidth(TextFont, gameFolder) > boxWidth) gameFolder[length] = '\0';
}

void InstallerApp::EnterState(int16_t newState) {
    state = newState;
    Redraw();
}

// Sets the language, retitles the window, and looks the installation up in the record: its
// version, its folder, and "tlf.exe" in that folder.
void InstallerApp::ChooseLanguage(int32_t languageIndex) {
    language = languageIndex;
    SetWindowTitle(WindowTitle[language]);
    bool found = ReadRegistryValue(ProductSubkey, VersionValueName, installedVersion, WizardTextSize);
    if (found && std::strcmp(installedVersion, ReleaseVersionName) == 0) {
        std::strcpy(installedVersion, ReleaseVersionText);
    }
    if (!found) installedVersion[0] = '\0';
    if (found) found = ReadRegistryValue(ProductSubkey, LocationValueName, gameFolder, WizardTextSize);
    // DIR= names the game folder, so that a game without a record (copied, or after Windows
    // was reinstalled) can be updated; "tlf.exe" must still be there.
    if (!options.folder.empty()) {
        std::strcpy(gameFolder, options.folder.c_str());
        found = true;
    }
    if (found) {
        char probe[WizardPathSize];
        FILE* game = JoinGamePath(probe, gameFolder, "tlf.exe") ? PlatformOpenFile(probe, "rb") : nullptr;
        found = game != nullptr;
        if (game != nullptr) std::fclose(game);
    }
    EnterState(found ? StateConfirmVersions : StateNotInstalled);
}

void InstallerApp::CarryOutAction(int32_t action, int32_t argument) {
    switch (action) {
    case ActionChooseLanguage:
        ChooseLanguage(argument);
        break;
    case ActionGoToState:
        EnterState(static_cast<int16_t>(argument));
        break;
    case ActionFinish:
        if (state == StateCompleted) {
            char readme[WizardPathSize];
            if (JoinGamePath(readme, gameFolder, "readme.txt")) PlatformOpenDocument(readme);
        }
        quit = true;
        break;
    case ActionDeleteQuickStart:
        ProcessQuickStartFiles(gameFolder, true);
        EnterState(StateCompleted);
        break;
    case ActionKeepQuickStart:
        EnterState(StateCompleted);
        break;
    default:
        break;
    }
}

void InstallerApp::RunUpdateStep() {
    const int16_t step = fileCounter;
    if (step >= UpdateStepFinish) {
        FinishUpdate();
        return;
    }
    if (step == 0) {
        if (!SourcesAreWhole()) {
            EnterState(StateSourceMissing);
            return;
        }
    } else if (!InstallEntry(step - 1)) {
        return;  // InstallEntry has shown the failure page
    }
    DrawProgressBar(step);
    fileCounter = static_cast<int16_t>(step + 1);
}

// Step 0: every source opens ("update.dat" for each packaged entry, the language readme for
// "readme.txt"), and the package is whole, so that a damaged package is found before any file
// of the game is touched.
bool InstallerApp::SourcesAreWhole() {
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        const char* source = IsReadmeEntry(entry) ? ReadmeFileName[language] : "update.dat";
        if (!SourceOpens(source)) return false;
    }
    return CheckUpdatePackage();
}

// Installs one entry into the game folder. On failure shows the page that says why and returns
// false; a destination fault on "pics.cfg" counts as done.
bool InstallerApp::InstallEntry(int entry) {
    char target[WizardPathSize];
    const int written = std::snprintf(target, sizeof target, "%s%s%s", gameFolder, UpdateFileSubfolder(entry),
                                      UpdateFileName(entry));
    if (written <= 0 || static_cast<size_t>(written) >= sizeof target) {
        EnterState(StateWriteFailed);
        return false;
    }
    if (IsReadmeEntry(entry)) {
        if (InstallReadme(ReadmeFileName[language], target)) return true;
        EnterState(StateWriteFailed);
        return false;
    }
    bool packageFault = false;
    if (ExtractPackageEntry(entry, target, packageFault)) return true;
    if (packageFault) {
        EnterState(StateSourceMissing);
        return false;
    }
    if (IsPicturesConfigEntry(entry)) return true;
    EnterState(StateWriteFailed);
    return false;
}

// Step 48: the new version into the record, "tlf.icd" deleted, and the quick-start question when
// out-of-date quick-start files remain. The counter stays at 48.
void InstallerApp::FinishUpdate() {
    WriteRegistryString(ProductSubkey, VersionValueName, NewVersionText);
    char icd[WizardPathSize];
    if (JoinGamePath(icd, gameFolder, "tlf.icd")) {
        PlatformMakeWritable(icd);
        PlatformRemoveFile(icd);
    }
    EnterState(ProcessQuickStartFiles(gameFolder, false) ? StateQuickStartPrompt : StateCompleted);
}

// The whole bar so far, so that a page repainted in between is repaired by the next step.
void InstallerApp::DrawProgressBar(int16_t step) {
    const int16_t length = ProgressBarWidth(step, boxWidth);
    DrawRect(static_cast<int16_t>(boxX + 10), static_cast<int16_t>(boxY + 10), static_cast<int16_t>(boxX + 10 + length),
             static_cast<int16_t>(boxY + 30), RectFill, ColourBlue, RectKeepBackground);
}
