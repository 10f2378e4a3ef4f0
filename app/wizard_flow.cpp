// wizard_flow.cpp: RunFrame, the wizard's per-frame logic, and the actions of its Buttons.
//
// One call reads at most one key event, advances the update by at most one step and polls the
// ten Button slots. Every change of state is followed at once by Redraw. The update runs one
// step per frame: step 0 checks the sources (every source opens, and "update.dat" is whole),
// steps 1 to 47 install one entry each, step 48 writes the new version, deletes "tlf.icd" and
// asks about the quick-start files.
//
// The update is one unit (package/update_unit.h): every entry, the readme included, is written to
// a temporary file beside its target; when complete the old file is kept aside and the new one
// takes its place. The kept files go only when the record holds the new version; any other end
// puts the game back as it was (at once after a package fault; after a write failure when the
// player leaves, since "< Back" can still resume). The language readme is copied, so the
// installer's folder stays whole and the installer can run again.
//
// Step 0 also reads the checksum list "SHA256SUMS" when one lies beside "update.dat" (a list that
// is malformed or misses an entry refuses the update, a readme that differs from it too), removes
// temporary files that killed runs left in the folders the update writes to, compares the free
// space of the game's disk with what the update needs, and begins the unit. A program with
// publisher keys first requires the list's signature "SHA256SUMS.sig" by one of them
// (package/list_signature.h) and a list that names every file read. Each entry is then
// checked against its listed digest while it is copied, before it takes the game file's place. A
// failed write shows why, and which file.
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/installer_app.h"
#include "app/texts.h"
#include "app/wizard_layout.h"
#include "framework/keyboard.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "package/game_subfolders.h"
#include "package/install_record.h"
#include "package/leftover_files.h"
#include "package/list_signature.h"
#include "package/quick_start.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "package/update_space.h"
#include "platform/platform_display.h"
#include "platform/platform_system.h"
#include "platform/text_convert.h"

namespace {

constexpr int32_t TextFont = 1;

// Joins the game folder and a name with one backslash. False when it does not fit.
bool JoinGamePath(char* path, const char* folder, const char* name) {
    const int written = std::snprintf(path, WizardPathSize, "%s\\%s", folder, name);
    return written > 0 && static_cast<size_t>(written) < WizardPathSize;
}

// Opens for reading only a regular file (platform_system.h): a folder, a FIFO or a device where a
// source should be is refused here, before anything waits on it.
bool SourceOpens(const char* name) {
    FILE* file = PlatformOpenFile(name, "r");
    if (file == nullptr) return false;
    std::fclose(file);
    return true;
}

// What decides an update stopped while its version was being recorded (update_unit.h).
bool RecordHoldsNewVersion() {
    char version[WizardTextSize] = "";
    return ReadRegistryValue(ProductSubkey, VersionValueName, version, WizardTextSize) &&
           std::strcmp(version, NewVersionText) == 0;
}

// True when the folder that is to hold `target` exists.
bool FolderOfTargetExists(const char* target) {
    char folder[WizardPathSize];
    std::snprintf(folder, sizeof folder, "%s", target);
    char* lastSeparator = std::strrchr(folder, '\\');
    if (lastSeparator == nullptr) return true;
    *lastSeparator = '\0';
    return PlatformIsFolder(folder);
}

// Exactly the same text: two spellings of one Windows folder only cost a put-back and a fresh
// start, while two Linux folders that differ in case are two games.
bool SameFolder(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

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

// Backspace removes the last character (all the bytes of one, in a folder from the record or the
// command line); a character of code 32 to 127 is appended while the folder holds fewer than 199
// bytes and still fits the field's width in font 1, as it is drawn.
void InstallerApp::EditFolder(uint8_t character, int32_t keyCode) {
    size_t length = std::strlen(gameFolder);
    if (KEYBOARD::ClassifyKey(keyCode) == KeyBackspace) {
        while (length > 0 && (static_cast<uint8_t>(gameFolder[length - 1]) & 0xC0) == 0x80) --length;
        if (length > 0) gameFolder[length - 1] = '\0';
        return;
    }
    if (static_cast<int8_t>(character) < 32 || length >= WizardTextSize - 1) return;
    gameFolder[length] = static_cast<char>(character);
    gameFolder[length + 1] = '\0';
    if (TextWidth(TextFont, PathForDisplay(gameFolder).c_str()) > boxWidth) gameFolder[length] = '\0';
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
    // A dead run's unfinished update is finished before anything looks at the game ("tlf.exe"
    // itself may be kept aside).
    if (found) RecoverInterruptedUpdate();
    if (found) {
        char probe[WizardPathSize];
        FILE* game = JoinGamePath(probe, gameFolder, "tlf.exe") ? PlatformOpenFile(probe, "rb") : nullptr;
        found = game != nullptr;
        if (game != nullptr) std::fclose(game);
    }
    EnterState(found ? StateConfirmVersions : StateNotInstalled);
}

// Puts back or finishes what the journal of a dead run in the game folder names; never the unit
// this run has under way there.
void InstallerApp::RecoverInterruptedUpdate() {
    if (unit.begun && SameFolder(unit.gameFolder, gameFolder)) return;
    const UnitRecovery done = RecoverUpdateUnit(gameFolder, RecordHoldsNewVersion, &unitFailures);
    if (done == UnitRecoveryPutBack || done == UnitRecoveryFinish) {
        recovered = done;
        ++recoveries;
        PrepareGameFolder();  // and the dead run's temporary files
    }
}

void InstallerApp::PutBackGame() {
    if (!unit.begun) return;
    unitFailures = PutBackUpdateUnit(&unit);
    ++putBackCount;
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
    // A different folder typed after a write failure: the first goes back as it was and the
    // update starts again from its source check, so that no folder keeps half an update.
    if (unit.begun && !SameFolder(unit.gameFolder, gameFolder)) {
        PutBackGame();
        fileCounter = 0;
    }
    const int16_t step = fileCounter;
    if (step >= UpdateStepFinish) {
        FinishUpdate();
        return;
    }
    if (step == 0) {
        if (!SourcesAreWhole()) return;  // the page says which source
        RecoverInterruptedUpdate();
        if (!SubfoldersAreTheGames()) return;
        PrepareGameFolder();
        if (!UpdateFitsOnDisk() || !BeginUnit()) return;
    } else if (!InstallEntry(step - 1)) {
        return;  // InstallEntry has shown the failure page
    }
    DrawProgressBar(step);
    fileCounter = static_cast<int16_t>(step + 1);
}

// A package fault leaves no way on: the game goes back at once, before the page says so.
void InstallerApp::ShowPackageFault(const char* file) {
    std::snprintf(faultyFile, sizeof faultyFile, "%s", file);
    PutBackGame();
    EnterState(StateSourceMissing);
}

void InstallerApp::ShowWriteFailure(WriteFailureReason reason, const char* file) {
    lastWriteFailure = WriteFailureRecord{};
    lastWriteFailure.reason = reason == WriteFailureNone ? WriteFailureOther : reason;
    std::snprintf(lastWriteFailure.file, sizeof lastWriteFailure.file, "%s", file);
    EnterState(StateWriteFailed);
}

// Step 0: every source opens ("update.dat" for each packaged entry, the language readme for
// "readme.txt"), the package is whole, and a checksum list of this update beside it, if any, is
// well formed and lists every file read from here (the package, its entries, the readme); so
// that a damaged package is found before any file of the game is touched. Shows the page naming
// the source at fault and returns false otherwise.
bool InstallerApp::SourcesAreWhole() {
    checksums.count = 0;
    signedList = {SignedListFine, nullptr, -1};
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
    // A list that is there but cannot be read as a file (a folder, a FIFO, a device) is refused,
    // not taken for no list at all.
    if (PlatformPathKindOf(ChecksumListName) != PlatformPathKind::Missing && !SourceOpens(ChecksumListName)) {
        ShowPackageFault(ChecksumListName);
        return false;
    }
    // A list that names no "update.dat" is another product's (state foreign, count 0): ignored,
    // unless the program has publisher keys: it then installs only what a signed list names.
    const char* readme = ReadmeFileName[language];
    std::string listBytes;
    const ChecksumListState list = ReadChecksumList(&checksums, &listBytes);
    signedList = CheckSignedList(listBytes.data(), listBytes.size(), checksums, readme);
    if (signedList.fault != SignedListFine) {
        checksums.count = 0;
        ShowPackageFault(signedList.file);
        return false;
    }
    if (list == ChecksumListMalformed || (list == ChecksumListValid && FirstUnlistedFile(checksums, readme) != nullptr)) {
        checksums.count = 0;
        ShowPackageFault(ChecksumListName);
        return false;
    }
    // The readme is small: a changed one (an archiver converting its line ends) is found now,
    // not after 44 game files.
    const uint8_t* readmeDigest = checksums.count > 0 ? FindChecksum(checksums, readme) : nullptr;
    if (readmeDigest != nullptr && !FileMatchesDigest(readme, readmeDigest)) {
        ShowPackageFault(readme);
        return false;
    }
    return true;
}

// Step 0: the folders below the game folder that the update writes into are the game's own
// (game_subfolders.h), or the write-failure page names the one that leads elsewhere and nothing
// is touched.
bool InstallerApp::SubfoldersAreTheGames() {
    char folder[WizardPathSize];
    if (!FindForeignSubfolder(gameFolder, folder, sizeof folder)) return true;
    ShowWriteFailure(WriteFailureNotPlainFolder, folder);
    return false;
}

// Step 0: the journal and the kept folder, before the first game file is touched.
bool InstallerApp::BeginUnit() {
    WriteFailureReason reason = WriteFailureNone;
    if (BeginUpdateUnit(&unit, gameFolder, &reason)) return true;
    ShowJournalFailure(reason);
    return false;
}

// The journal of the unit could not be written: the write-failure page names it.
void InstallerApp::ShowJournalFailure(WriteFailureReason reason) {
    char journal[WizardPathSize];
    ShowWriteFailure(reason, JoinGamePath(journal, gameFolder, UpdateJournalName) ? journal : gameFolder);
}

// Step 0: removes the temporary files of killed runs from the game folder and the folders below
// it that the update writes to ("\data\", "\pictures\"); never in a folder there that leads
// elsewhere (a recovery calls it before the step-0 checks refuse such a folder).
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
        if (subfolder[1] != '\0' && !PlatformIsPlainFolder(folder)) continue;
        RemoveLeftoverTemporaryFiles(folder);
    }
}

// Step 0: the update fits the free space of the game's disk, or the write-failure page says how
// much is needed and free, and nothing is touched. An amount that cannot be told passes.
bool InstallerApp::UpdateFitsOnDisk() {
    const int64_t needed = UpdateSpaceNeeded(ReadmeFileName[language]);
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
    check.unit = &unit;
    check.unitItem = entry;
    if (IsReadmeEntry(entry)) {
        const char* readme = ReadmeFileName[language];
        if (checked) check.expectedDigest = FindChecksum(checksums, readme);
        if (InstallReadme(readme, target, &check)) return true;
        if (check.digestMismatch || check.sourceReadFailed) {
            ShowPackageFault(readme);
        } else {
            ShowWriteFailure(check.writeFailure, target);
        }
        return false;
    }
    // "pics.cfg" goes only into a game that has its "\pictures\" folder; any other failure on it
    // is a write failure like any file's.
    if (IsPicturesConfigEntry(entry) && !FolderOfTargetExists(target)) return true;
    if (checked) check.expectedDigest = FindChecksum(checksums, UpdateFileName(entry));
    bool packageFault = false;
    if (ExtractPackageEntry(entry, target, packageFault, &check)) return true;
    if (check.itemToWriteAgain >= 0) {
        WriteEntryAgain(check.itemToWriteAgain, check.writeFailure);
        return false;
    }
    if (packageFault) {
        // A digest that differs names the entry (as the game folder holds it); any other fault
        // lies in the package as a whole.
        ShowPackageFault(check.digestMismatch ? target + std::strlen(gameFolder) + 1 : "update.dat");
        return false;
    }
    ShowWriteFailure(check.writeFailure, target);
    return false;
}

// An entry already in place whose early flush failed is not known to be on the disk: the page
// names it, and Next resumes the update with that entry, written anew.
void InstallerApp::WriteEntryAgain(int entry, WriteFailureReason reason) {
    char target[WizardPathSize];
    fileCounter = static_cast<int16_t>(entry + 1);
    ShowWriteFailure(reason, UpdateFileTarget(gameFolder, entry, target, sizeof target) ? target : gameFolder);
}

// Step 48: "tlf.icd" kept aside, the new version into the record, and only then the kept files
// removed; then the quick-start question when out-of-date quick-start files remain. A record that
// cannot be written is a write failure naming it (the update is not complete). The counter stays
// at 48.
void InstallerApp::FinishUpdate() {
    WriteFailureReason reason = WriteFailureNone;
    char icd[WizardPathSize];
    if (!JoinGamePath(icd, gameFolder, "tlf.icd") || !KeepUnitFileAside(&unit, UnitIcdItem, &reason)) {
        ShowWriteFailure(reason == WriteFailureNone ? WriteFailureNameTooLong : reason, icd);
        return;
    }
    int entry = -1;
    if (!MarkUnitRecording(&unit, &reason, &entry)) {
        if (entry >= 0) {
            WriteEntryAgain(entry, reason);
        } else {
            ShowJournalFailure(reason);
        }
        return;
    }
    errno = 0;
    const bool written = WriteRegistryString(ProductSubkey, VersionValueName, NewVersionText);
    reason = PlatformLastWriteFailure();
    // What a later start would decide from the record is what counts now, too.
    if (!written && !RecordHoldsNewVersion()) {
        char record[WizardPathSize];
        ShowWriteFailure(reason, RecordName(ProductSubkey, record, sizeof record) ? record : ProductSubkey);
        return;
    }
    CompleteUpdateUnit(&unit);
    EnterState(ProcessQuickStartFiles(gameFolder, false) ? StateQuickStartPrompt : StateCompleted);
}

// The whole bar so far, so that a page repainted in between is repaired by the next step.
void InstallerApp::DrawProgressBar(int16_t step) {
    const int16_t length = ProgressBarWidth(step, boxWidth);
    DrawRect(static_cast<int16_t>(boxX + 10), static_cast<int16_t>(boxY + 10), static_cast<int16_t>(boxX + 10 + length),
             static_cast<int16_t>(boxY + 30), RectFill, ColourBlue, RectKeepBackground);
}
