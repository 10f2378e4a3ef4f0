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
//
// Step 0 also reads the checksum list "SHA256SUMS" when one lies beside "update.dat" (a list that
// is malformed or misses an entry refuses the update), removes temporary files that killed runs
// left in the folders the update writes to, and compares the free space of the game's disk with
// what the update needs. Each entry is then checked against its listed digest while it is copied,
// before it replaces the game's file. A failed write shows why, and which file.
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
#include "package/leftover_files.h"
#include "package/quick_start.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "package/update_space.h"
#include "platform/platform_display.h"
#include "platform/platform_system.h"

namespace {

constexpr int32_t TextFont = 1;

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
        if (!SourcesAreWhole()) return;  // the page says which source
        PrepareGameFolder();
        if (!UpdateFitsOnDisk()) return;
    } else if (!InstallEntry(step - 1)) {
        return;  // InstallEntry has shown the failure page
    }
    DrawProgressBar(step);
    fileCounter = static_cast<int16_t>(step + 1);
}

void InstallerApp::ShowPackageFault(const char* file) {
    std::snprintf(faultyFile, sizeof faultyFile, "%s", file);
    EnterState(StateSourceMissing);
}

void InstallerApp::ShowWriteFailure(WriteFailureReason reason, const char* file) {
    lastWriteFailure = WriteFailureRecord{};
    lastWriteFailure.reason = reason == WriteFailureNone ? WriteFailureOther : reason;
    std::snprintf(lastWriteFailure.file, sizeof lastWriteFailure.file, "%s", file);
    EnterState(StateWriteFailed);
}

// Step 0: every source opens ("update.dat" for each packaged entry, the language readme for
// "readme.txt"), the package is whole, and a checksum list beside it, if any, is well formed and
// lists every packaged entry; so that a damaged package is found before any file of the game is
// touched. Shows the page naming the source at fault and returns false otherwise.
bool InstallerApp::SourcesAreWhole() {
    checksums.count = 0;
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        const char* source = IsReadmeEntry(entry) ? ReadmeFileName[language] : "update.dat";
        if (!SourceOpens(source)) {
            ShowPackageFault(source);
            return false;
        }
    }
    if (!CheckUpdatePackage()) {
        ShowPackageFault("update.dat");
        return false;
    }
    const ChecksumListState list = ReadChecksumList(&checksums);
    if (list == ChecksumListMalformed || (list == ChecksumListValid && !ChecksumListCoversPackage(checksums))) {
        checksums.count = 0;
        ShowPackageFault(ChecksumListName);
        return false;
    }
    return true;
}

// Step 0: removes the temporary files of killed runs from the game folder and the folders below
// it that the update writes to ("\data\", "\pictures\").
void InstallerApp::PrepareGameFolder() {
    const char* done[UpdateFileCount] = {};
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        const char* subfolder = UpdateFileSubfolder(entry);
        bool seen = false;
        for (int i = 0; i < entry && !seen; ++i) seen = done[i] != nullptr && std::strcmp(done[i], subfolder) == 0;
        done[entry] = subfolder;
        if (seen) continue;
        char folder[WizardPathSize];
        const int written = std::snprintf(folder, sizeof folder, "%s%s", gameFolder, subfolder);
        if (written <= 0 || static_cast<size_t>(written) >= sizeof folder) continue;
        folder[written - 1] = '\0';  // the subfolder's trailing backslash
        RemoveLeftoverTemporaryFiles(folder);
    }
}

// Step 0: the update fits the free space of the game's disk, or the write-failure page says how
// much is needed and free, and nothing is touched. An amount that cannot be told passes.
bool InstallerApp::UpdateFitsOnDisk() {
    const int64_t needed = UpdateSpaceNeeded(gameFolder, ReadmeFileName[language]);
    const int64_t available = freeSpaceOf != nullptr ? freeSpaceOf(gameFolder) : -1;
    if (needed < 0 || available < 0 || needed <= available) return true;
    lastWriteFailure = WriteFailureRecord{};
    lastWriteFailure.reason = WriteFailureDiskFull;
    lastWriteFailure.bytesNeeded = needed;
    lastWriteFailure.bytesFree = available;
    EnterState(StateWriteFailed);
    return false;
}

// Installs one entry into the game folder, checked against the checksum list when there is one.
// On failure shows the page that says what went wrong and returns false; a destination fault on
// "pics.cfg" counts as done.
bool InstallerApp::InstallEntry(int entry) {
    char target[WizardPathSize];
    if (!UpdateFileTarget(gameFolder, entry, target, sizeof target)) {
        ShowWriteFailure(WriteFailureNameTooLong, target);
        return false;
    }
    const bool checked = checksums.count > 0;
    EntryCopyCheck check;
    if (IsReadmeEntry(entry)) {
        const char* readme = ReadmeFileName[language];
        if (checked) check.expectedDigest = FindChecksum(checksums, readme);
        if (InstallReadme(readme, target, &check)) return true;
        if (check.digestMismatch) {
            ShowPackageFault(readme);
        } else {
            ShowWriteFailure(check.writeFailure, target);
        }
        return false;
    }
    if (checked) check.expectedDigest = FindChecksum(checksums, UpdateFileName(entry));
    bool packageFault = false;
    if (ExtractPackageEntry(entry, target, packageFault, &check)) return true;
    if (packageFault) {
        // A digest that differs names the entry (as the game folder holds it); any other fault
        // lies in the package as a whole.
        ShowPackageFault(check.digestMismatch ? target + std::strlen(gameFolder) + 1 : "update.dat");
        return false;
    }
    if (IsPicturesConfigEntry(entry)) return true;
    ShowWriteFailure(check.writeFailure, target);
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
