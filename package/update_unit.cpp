// update_unit.cpp: keeping the game's old files aside, the journal, and putting back or finishing
// an update. See update_unit.h.
#include "package/update_unit.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <initializer_list>

#include "package/background_flush.h"
#include "package/game_subfolders.h"
#include "package/update_file_table.h"
#include "platform/platform_system.h"

const char UpdateJournalName[] = "~tlfupdate.journal";
const char UpdateKeptFolderName[] = "~tlfupdate.kept";

void (*UpdateUnitFaultPoint)(const char* step) = nullptr;

namespace {

constexpr size_t PathCapacity = 520;
const char* const JournalFirstLine = "tlfupdate journal 1";
const char* const PhaseNames[] = {"none", "installing", "recording"};

// True when anything (a file, a folder, a link, even a broken one) has that name.
bool Exists(const char* path) { return PlatformPathKindOf(path) != PlatformPathKind::Missing; }

void FaultPoint(const char* step) {
    if (UpdateUnitFaultPoint != nullptr) UpdateUnitFaultPoint(step);
}

bool Join(char* path, const char* folder, const char* name) {
    const int written = std::snprintf(path, PathCapacity, "%s\\%s", folder, name);
    return written > 0 && static_cast<size_t>(written) < PathCapacity;
}

bool ItemTarget(const char* gameFolder, int item, char* path) {
    if (item == UnitIcdItem) return Join(path, gameFolder, "tlf.icd");
    return UpdateFileTarget(gameFolder, item, path, PathCapacity);
}

// The name of item `item` in the kept folder, "07", or with `suffix` ".new" the marker of an
// entry that was new. The kept folder itself is reached only through the unit's open handle.
struct KeptName {
    char text[16];
    KeptName(int item, const char* suffix) { std::snprintf(text, sizeof text, "%02d%s", item, suffix); }
};

WriteFailureReason Reason() {
    WriteFailureReason reason = PlatformLastWriteFailure();
    return reason == WriteFailureNone ? WriteFailureOther : reason;
}

// The state of an item: as this run recorded it, or, for a dead run's unit (items null), as
// the kept folder shows it (no kept folder: nothing was kept).
UnitItemState ItemState(const uint8_t* items, PlatformFolder* keptFolder, int item) {
    if (items != nullptr) return static_cast<UnitItemState>(items[item]);
    if (keptFolder == nullptr) return UnitItemUntouched;
    if (PlatformPathKindIn(keptFolder, KeptName(item, "").text) != PlatformPathKind::Missing) return UnitItemKept;
    return PlatformPathKindIn(keptFolder, KeptName(item, ".new").text) != PlatformPathKind::Missing ? UnitItemNew : UnitItemUntouched;
}

// Removes a file this unit made or kept; a read-only one is made writable only when removing it
// failed (Windows), so that nothing is changed through a link where removal alone works.
bool RemoveOwnFile(const char* path) {
    if (PlatformRemoveFile(path) == 0 || !Exists(path)) return true;
    PlatformMakeWritable(path);
    return PlatformRemoveFile(path) == 0;
}

// Writes the journal through a temporary file that replaces it in one step, flushed.
bool WriteJournal(const char* gameFolder, UpdateUnitPhase phase, WriteFailureReason* reason) {
    char journal[PathCapacity];
    char tempPath[PathCapacity];
    if (!Join(journal, gameFolder, UpdateJournalName)) {
        *reason = WriteFailureNameTooLong;
        return false;
    }
    FaultPoint("journal");
    errno = 0;
    FILE* file = PlatformCreateTempFileBeside(journal, tempPath, sizeof tempPath);
    if (file == nullptr) {
        *reason = Reason();
        return false;
    }
    errno = 0;
    const bool written = std::fprintf(file, "%s\nprocess %u\nphase %s\n", JournalFirstLine,
                                      static_cast<unsigned>(PlatformProcessId()), PhaseNames[phase]) > 0 &&
                         PlatformSyncFile(file);
    if (!written) *reason = Reason();
    if (std::fclose(file) != 0 && written) *reason = Reason();
    if (written && PlatformReplaceFile(tempPath, journal)) return true;
    if (written) *reason = Reason();
    PlatformRemoveFile(tempPath);
    return false;
}

// Reads the journal of `gameFolder`: false when there is none or it is not one of ours.
bool ReadJournal(const char* gameFolder, UpdateUnitPhase* phase, uint32_t* processId) {
    char journal[PathCapacity];
    if (!Join(journal, gameFolder, UpdateJournalName)) return false;
    FILE* file = PlatformOpenFile(journal, "rb");
    if (file == nullptr) return false;
    char text[160] = {};
    const size_t length = std::fread(text, 1, sizeof text - 1, file);
    std::fclose(file);
    text[length] = '\0';
    unsigned process = 0;
    char phaseName[16] = {};
    char firstLine[32] = {};
    if (std::sscanf(text, "%31[^\n]\nprocess %u\nphase %15s", firstLine, &process, phaseName) != 3 ||
        std::strcmp(firstLine, JournalFirstLine) != 0) {
        // A journal cut short by a power cut before its first flush: nothing was touched yet,
        // since the journal is flushed before the first game file; undoing is always safe.
        *phase = UnitPhaseInstalling;
        *processId = 0;
        return true;
    }
    *processId = process;
    *phase = std::strcmp(phaseName, PhaseNames[UnitPhaseRecording]) == 0 ? UnitPhaseRecording : UnitPhaseInstalling;
    return true;
}

// Flushes the renames in every folder the unit touches: the game folder, "data", "pictures" and
// the kept folder.
void SyncGameFolders(const char* gameFolder, PlatformFolder* keptFolder) {
    PlatformSyncFolder(gameFolder);
    char folder[PathCapacity];
    for (const char* name : {"data", "pictures"}) {
        if (Join(folder, gameFolder, name)) PlatformSyncFolder(folder);
    }
    PlatformSyncHeldFolder(keptFolder);
}

// Lets the kept folder go, removes it and then the journal: the journal goes last, so that a stop
// before leaves the next start something to finish. A link put in the kept folder's place is not
// removed through (a removal of a folder never follows one).
void RemoveUnitFiles(const char* gameFolder, PlatformFolder** keptFolder) {
    PlatformCloseFolder(*keptFolder);
    *keptFolder = nullptr;
    char path[PathCapacity];
    if (Join(path, gameFolder, UpdateKeptFolderName)) {
        FaultPoint("remove kept folder");
        PlatformRemoveFolder(path);
    }
    if (Join(path, gameFolder, UpdateJournalName)) {
        FaultPoint("remove journal");
        PlatformRemoveFile(path);
    }
}

// Removes the kept files of every item: the update stands.
void DropKeptFiles(const char* gameFolder, uint8_t* items, PlatformFolder** keptFolder) {
    for (int item = 0; item < UnitItemCount; ++item) {
        const UnitItemState state = ItemState(items, *keptFolder, item);
        if (state == UnitItemUntouched) continue;
        FaultPoint("drop kept file");
        const KeptName name(item, state == UnitItemKept ? "" : ".new");
        if (PlatformRemoveFileIn(*keptFolder, name.text) == 0 && items != nullptr) items[item] = UnitItemUntouched;
    }
    RemoveUnitFiles(gameFolder, keptFolder);
}

// Puts every kept file back and removes every new one; the number of items that failed.
int PutBack(const char* gameFolder, uint8_t* items, PlatformFolder** keptFolder) {
    int failures = 0;
    for (int item = 0; item < UnitItemCount; ++item) {
        char target[PathCapacity];
        if (!ItemTarget(gameFolder, item, target)) continue;
        const UnitItemState state = ItemState(items, *keptFolder, item);
        bool done = true;
        if (state == UnitItemKept) {
            // The new file goes, then the old one comes back: a stop between leaves the kept file,
            // which the next start renames back. The folders are flushed once, at the end.
            FaultPoint("put back");
            done = (!Exists(target) || RemoveOwnFile(target)) &&
                   PlatformMoveOutOfFolder(*keptFolder, KeptName(item, "").text, target) == 0;
        } else if (state == UnitItemNew) {
            // The new file first, then its marker: a stop between leaves the marker, and the
            // next start finds nothing to remove.
            FaultPoint("remove new file");
            done = !Exists(target) || RemoveOwnFile(target);
            if (done) FaultPoint("remove marker");
            if (done) PlatformRemoveFileIn(*keptFolder, KeptName(item, ".new").text);
        }
        if (!done) ++failures;
        if (done && items != nullptr) items[item] = UnitItemUntouched;
    }
    if (failures == 0) {
        SyncGameFolders(gameFolder, *keptFolder);
        RemoveUnitFiles(gameFolder, keptFolder);
    }
    return failures;
}

}  // namespace

UnitRecovery PlanRecovery(UpdateUnitPhase phase, bool processAlive, bool recordHoldsNewVersion) {
    if (phase == UnitPhaseNone) return UnitRecoveryNothing;
    if (processAlive) return UnitRecoveryBusy;
    if (phase == UnitPhaseRecording && recordHoldsNewVersion) return UnitRecoveryFinish;
    return UnitRecoveryPutBack;
}

bool BeginUpdateUnit(UpdateUnit* unit, const char* gameFolder, WriteFailureReason* reason) {
    unit->begun = false;
    PlatformCloseFolder(unit->keptFolder);  // of a unit whose putting back failed
    unit->keptFolder = nullptr;
    for (uint8_t& state : unit->items) state = UnitItemUntouched;
    const int written = std::snprintf(unit->gameFolder, sizeof unit->gameFolder, "%s", gameFolder);
    char journal[PathCapacity];
    char kept[PathCapacity];
    if (written <= 0 || static_cast<size_t>(written) >= sizeof unit->gameFolder || !Join(journal, gameFolder, UpdateJournalName) ||
        !Join(kept, gameFolder, UpdateKeptFolderName)) {
        *reason = WriteFailureNameTooLong;
        return false;
    }
    if (Exists(journal)) {  // another installer's, still running (a dead one's was recovered)
        *reason = WriteFailureInUse;
        return false;
    }
    if (!WriteJournal(gameFolder, UnitPhaseInstalling, reason)) return false;
    // An empty kept folder of a run that stopped before its first file goes; anything else in
    // its place (a file, a link, a folder with files) refuses the update rather than being used.
    // The folder made is opened once, refusing a link that took its place meanwhile; from then on
    // it is reached only through that handle.
    PlatformRemoveFolder(kept);
    FaultPoint("make kept folder");
    errno = 0;
    if (PlatformMakeFolder(kept) != 0 || (unit->keptFolder = PlatformOpenPlainFolder(kept)) == nullptr) {
        *reason = Reason();
        RemoveUnitFiles(gameFolder, &unit->keptFolder);
        return false;
    }
    PlatformSyncFolder(gameFolder);
    unit->begun = true;
    return true;
}

bool PlaceUnitFile(UpdateUnit* unit, int item, const char* tempPath, WriteFailureReason* reason) {
    char target[PathCapacity];
    bool placed = false;
    errno = 0;
    if (!ItemTarget(unit->gameFolder, item, target)) {
        *reason = WriteFailureNameTooLong;
    } else if (unit->items[item] != UnitItemUntouched) {
        // Kept by an earlier try of this entry: the old file stays kept.
        FaultPoint("place");
        placed = PlatformReplaceFile(tempPath, target);
    } else if (Exists(target)) {
        FaultPoint("keep");
        placed = !PlatformIsFolder(target) && PlatformMoveIntoFolder(unit->keptFolder, target, KeptName(item, "").text) == 0;
        if (placed) unit->items[item] = UnitItemKept;
        if (placed) FaultPoint("place");
        placed = placed && PlatformRenameFile(tempPath, target) == 0;
    } else {
        FaultPoint("mark new");
        // A new name only: a link someone put there is never written through.
        placed = PlatformCreateNewFileIn(unit->keptFolder, KeptName(item, ".new").text) == 0;
        if (placed) unit->items[item] = UnitItemNew;
        if (placed) FaultPoint("place");
        placed = placed && PlatformRenameFile(tempPath, target) == 0;
    }
    if (placed) return true;
    if (*reason == WriteFailureNone) *reason = Reason();
    PlatformRemoveFile(tempPath);
    return false;
}

bool KeepUnitFileAside(UpdateUnit* unit, int item, WriteFailureReason* reason) {
    char target[PathCapacity];
    if (!ItemTarget(unit->gameFolder, item, target)) {
        *reason = WriteFailureNameTooLong;
        return false;
    }
    if (unit->items[item] != UnitItemUntouched || !Exists(target)) return true;
    FaultPoint("keep");
    errno = 0;
    if (PlatformMoveIntoFolder(unit->keptFolder, target, KeptName(item, "").text) == 0) {
        unit->items[item] = UnitItemKept;
        return true;
    }
    *reason = Reason();
    return false;
}

namespace {

// Waits for the early flush handed over last, if any; false, naming its item, when it failed.
bool SettleUnitFlush(UpdateUnit* unit, int* item, WriteFailureReason* reason) {
    BackgroundFlush* flush = unit->flushGoingOn;
    *item = unit->flushGoingOnItem;
    unit->flushGoingOn = nullptr;
    unit->flushGoingOnItem = -1;
    return BackgroundFlushEnd(flush, reason);
}

// An early flush still going on when the unit ends either way: its outcome no longer matters,
// but its handle must not outlive the file's removal or the kept files' return.
void DropUnitFlush(UpdateUnit* unit) {
    int item = -1;
    WriteFailureReason ignored = WriteFailureNone;
    SettleUnitFlush(unit, &item, &ignored);
}

}  // namespace

bool HandOverUnitFlush(UpdateUnit* unit, int item, BackgroundFlush* flush, int* failedItem, WriteFailureReason* reason) {
    if (!SettleUnitFlush(unit, failedItem, reason)) {
        BackgroundFlushEnd(flush, nullptr);
        return false;
    }
    unit->flushGoingOn = flush;
    unit->flushGoingOnItem = item;
    return true;
}

bool MarkUnitRecording(UpdateUnit* unit, WriteFailureReason* reason, int* itemToWriteAgain) {
    if (!SettleUnitFlush(unit, itemToWriteAgain, reason)) return false;
    *itemToWriteAgain = -1;  // any failure from here on is the journal's or a folder's
    // Every new file's bytes and every rename so far reach the disk before the journal says they
    // are all done: the copies did not wait for their own flushes, all of them are waited for here.
    for (int item = 0; item < UnitIcdItem; ++item) {
        char target[PathCapacity];
        if (unit->items[item] == UnitItemUntouched || !ItemTarget(unit->gameFolder, item, target)) continue;
        errno = 0;
        if (!PlatformSyncPath(target)) {
            *reason = Reason();
            return false;
        }
    }
    SyncGameFolders(unit->gameFolder, unit->keptFolder);
    return WriteJournal(unit->gameFolder, UnitPhaseRecording, reason);
}

void CompleteUpdateUnit(UpdateUnit* unit) {
    DropUnitFlush(unit);
    if (!unit->begun) return;
    DropKeptFiles(unit->gameFolder, unit->items, &unit->keptFolder);
    unit->begun = false;
}

int PutBackUpdateUnit(UpdateUnit* unit) {
    DropUnitFlush(unit);
    if (!unit->begun) return 0;
    const int failures = PutBack(unit->gameFolder, unit->items, &unit->keptFolder);
    unit->begun = failures != 0;
    return failures;
}

UnitRecovery RecoverUpdateUnit(const char* gameFolder, bool (*recordHoldsNewVersion)(), int* failures) {
    *failures = 0;
    UpdateUnitPhase phase = UnitPhaseNone;
    uint32_t processId = 0;
    if (!ReadJournal(gameFolder, &phase, &processId)) return UnitRecoveryNothing;
    // This process's own number in a journal is a dead run's whose number came round again: the
    // wizard never asks for the folder of the unit it is running itself.
    const bool alive = processId != 0 && processId != PlatformProcessId() && PlatformProcessIsAlive(processId);
    const bool recorded = phase == UnitPhaseRecording && !alive && recordHoldsNewVersion != nullptr && recordHoldsNewVersion();
    const UnitRecovery plan = PlanRecovery(phase, alive, recorded);
    if (plan != UnitRecoveryFinish && plan != UnitRecoveryPutBack) return plan;
    // A kept folder that is no plain folder (a link put in its place) is not looked into, and no
    // file goes back through a folder of the game that leads elsewhere: all is left as it is, the
    // journal too, and every item counts as not put back.
    char kept[PathCapacity];
    char foreign[PathCapacity];
    PlatformFolder* keptFolder = nullptr;
    const bool named = Join(kept, gameFolder, UpdateKeptFolderName);
    const bool keptMissing = named && PlatformPathKindOf(kept) == PlatformPathKind::Missing;
    if (!named || (!keptMissing && (keptFolder = PlatformOpenPlainFolder(kept)) == nullptr) ||
        FindForeignSubfolder(gameFolder, foreign, sizeof foreign)) {
        PlatformCloseFolder(keptFolder);
        *failures = UnitItemCount;
        return plan;
    }
    if (plan == UnitRecoveryFinish) DropKeptFiles(gameFolder, nullptr, &keptFolder);
    if (plan == UnitRecoveryPutBack) *failures = PutBack(gameFolder, nullptr, &keptFolder);
    PlatformCloseFolder(keptFolder);  // left open by a putting back that failed
    return plan;
}
