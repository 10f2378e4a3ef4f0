// update_unit.h: the update as one unit: the game is either as it was or fully updated.
//
// Every game file the update replaces or removes (the 47 entries of the update file table and
// "tlf.icd") is kept aside by renaming it into the folder "~tlfupdate.kept" of the game folder,
// under the number of its item ("00" to "46", "47" for "tlf.icd"); an entry that had no old file
// gets an empty marker "<number>.new" there instead, so that putting back knows to remove it.
// Nothing is copied. A small journal, "~tlfupdate.journal" in the game folder, is written and
// flushed before the first game file is touched; it names the process and the phase:
//
//   installing   the new files are being put in place. A stop now is undone: every kept file
//                goes back to its place, every marked new file is removed.
//   recording    every file is in place and the record's "Version" is being written. A stop now
//                is decided by the record: when it holds the new version the update counts as
//                done and the kept files are removed; otherwise the game is put back.
//
// The wizard calls BeginUpdateUnit before its first game file, PlaceUnitFile (through the package
// copies) for each entry, KeepUnitFileAside for "tlf.icd", MarkUnitRecording right before it
// writes the record and CompleteUpdateUnit right after; PutBackUpdateUnit when the update ends
// in any other way. RecoverUpdateUnit is the one entry point for a journal of a run that died:
// the wizard calls it as soon as it knows the game folder, before anything else touches the game.
// The order of renames, flushes and the journal, and why every stop has one answer, is written
// down in docs/RELIABILITY.md.
//
// Paths are the installer's Windows-style paths (platform_system.h). Results: bool, true done.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/write_failure.h"

extern const char UpdateJournalName[];     // "~tlfupdate.journal"
extern const char UpdateKeptFolderName[];  // "~tlfupdate.kept"

// Items 0 to 46 are the entries of the update file table; item 47 is "tlf.icd".
enum : int { UnitItemCount = 48, UnitIcdItem = 47 };

enum UpdateUnitPhase : int { UnitPhaseNone = 0, UnitPhaseInstalling = 1, UnitPhaseRecording = 2 };

// What a start does with a journal it finds. Pure: PlanRecovery.
enum UnitRecovery : int {
    UnitRecoveryNothing = 0,  // no journal: nothing was interrupted
    UnitRecoveryPutBack = 1,  // the game goes back to how it was before the interrupted update
    UnitRecoveryFinish = 2,   // the update had been recorded: only the kept files are removed
    UnitRecoveryBusy = 3,     // the journal's process still runs: another installer is at work
};
UnitRecovery PlanRecovery(UpdateUnitPhase phase, bool processAlive, bool recordHoldsNewVersion);

// What the unit has done with one item: nothing yet, its old file kept aside, or a marker made
// because there was no old file.
enum UnitItemState : uint8_t { UnitItemUntouched = 0, UnitItemKept = 1, UnitItemNew = 2 };

struct PlatformFolder;
struct BackgroundFlush;

// The unit of one run in one game folder.
struct UpdateUnit {
    char gameFolder[260] = {};
    bool begun = false;  // the journal is on the disk and the kept folder exists
    uint8_t items[UnitItemCount] = {};  // UnitItemState of each item, as this run made it
    // The kept folder, opened once when it was made (platform_system.h): every rename into it and
    // out of it, every marker and every removal in it goes through this handle, never through its
    // path, so that a link put in its place during the update leads nowhere. Let go when the kept
    // folder is removed.
    PlatformFolder* keptFolder = nullptr;
    // The early flush of the last file placed while one was going on, still going on beside the
    // copies after it (package/background_flush.h), and that file's item. Its outcome is asked
    // when the next such flush is handed over, and before the journal says "recording".
    BackgroundFlush* flushGoingOn = nullptr;
    int flushGoingOnItem = -1;
};

// Writes the journal (phase installing) and makes the kept folder, both flushed. False, with the
// reason, when the game folder cannot take them or another run's journal is there.
bool BeginUpdateUnit(UpdateUnit* unit, const char* gameFolder, WriteFailureReason* reason);

// Puts a finished, flushed temporary file in place of item `item`'s target: the old file is
// renamed into the kept folder (or, where there was none, a marker says the file is new), then
// the temporary file is renamed to the target. When the item was kept before (a retry) the old
// one stays kept and only the target is replaced. On failure the temporary file is removed, the
// kept file stays kept (putting back restores it) and `reason` says why.
bool PlaceUnitFile(UpdateUnit* unit, int item, const char* tempPath, WriteFailureReason* reason);

// Takes the early flush of the file just placed for `item`, which goes on beside the next copies,
// once the flush handed over before has ended. When that one failed, the file it flushed may not
// be whole on the disk (and since the system reports a failed write-out once only, no later flush
// would say so): its item and reason are given, this flush is ended too, and the update goes on
// from that earlier item, this one included.
bool HandOverUnitFlush(UpdateUnit* unit, int item, BackgroundFlush* flush, int* failedItem, WriteFailureReason* reason);

// Removes item `item`'s target from the game by keeping it aside ("tlf.icd"). Nothing there is
// no error.
bool KeepUnitFileAside(UpdateUnit* unit, int item, WriteFailureReason* reason);

// Every file is in place: the journal's phase becomes "recording", flushed together with every
// rename before it. Called right before the record's "Version" is written. When the early flush
// handed over last failed, its item is given in `itemToWriteAgain` (as by HandOverUnitFlush);
// it stays -1 for any other failure.
bool MarkUnitRecording(UpdateUnit* unit, WriteFailureReason* reason, int* itemToWriteAgain);

// The record holds the new version: the kept files, the kept folder and the journal are removed.
void CompleteUpdateUnit(UpdateUnit* unit);

// The update did not complete: every kept file goes back to its place (with what the system
// keeps with a file: attributes, owner, mode), every new one is removed, then the kept folder and
// the journal. Returns the number of items it could not put back (0: the game is as it was); the
// journal then stays, so that the next start tries again.
int PutBackUpdateUnit(UpdateUnit* unit);

// Finishes what a dead run left in `gameFolder`, as PlanRecovery says; `recordHoldsNewVersion`
// is asked only for a journal in phase recording. Returns what was done (UnitRecoveryBusy and
// UnitRecoveryNothing change nothing). *failures gets the items that could not be put back: all
// of them when the kept folder is no plain folder (a link) or a folder the update writes into
// leads elsewhere (game_subfolders.h); nothing is touched then, and the journal stays.
UnitRecovery RecoverUpdateUnit(const char* gameFolder, bool (*recordHoldsNewVersion)(), int* failures);

// Test hook: called with a short name before every step that changes the disk (each rename,
// marker, removal and journal write), so that a test can stop the process at each of them. Null
// in the program.
extern void (*UpdateUnitFaultPoint)(const char* step);
