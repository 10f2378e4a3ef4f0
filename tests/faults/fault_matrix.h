// fault_matrix.h: what every fault case of tests_faults checks after a run of the wizard, and the
// child processes the native cases run the wizard in.
//
// A fault case sets up a fresh WizardSession (tests/e2e/wizard_session.h), places one fault,
// runs the real wizard (in this process, or in a forked child when the fault would harm the test
// program: a file-size limit, dropped privileges, a kill), and then checks on disk that
// - every game file is its complete old content (or still absent) or its complete new content;
// - no temporary file ("~tlf*.tmp") is left in the game folder or the installer's folder;
// - the record's "Version" is new only when every entry was installed;
// - the page shown is the one the wizard promises for that fault.
// Each case is counted, so that the run can report how many cases ran with no file lost or
// half-written.
#pragma once

#include <functional>
#include <string>

#include "tests/e2e/wizard_session.h"

// Path of entry i below the game folder, '/' between parts ("data/euro.cfg").
std::string EntryPath(int i);
// What entry i holds after the update (the English readme for "readme.txt").
std::string NewEntryContents(int i);
// True for the entries the session's installed game holds an old version of.
bool GameHasOldEntry(int i);
// The folder below the game folder that receives entry i: "", "data" or "pictures".
std::string EntryFolder(int i);

// The on-disk checks above; failures are test failures labelled with `label`.
struct RunOutcome {
    int page;                    // the page (wizard state) the run must end on
    int installedBelow = -1;     // entries before it must be new and it must be old (a stop
                                 // there); -1 leaves that unchecked
    bool complete = false;       // the update finished: every entry new, "Version" the new one
    bool picturesSkipped = false;  // with complete: "pics.cfg" may have kept its old content
};
// `shownPage` is the page the run ended on (from a child, its exit code).
void CheckAfterRun(const WizardSession& s, const RunOutcome& outcome, int shownPage, const std::string& label);

// Temporary files ("~tlf" names) anywhere below a folder.
int CountTemporaryFiles(const std::string& folder);

// The first entry at or after `entry` that fails when every entry for which `fails` is true
// fails, "pics.cfg" skipped as the wizard skips it; 47 when none.
int FirstStoppingEntry(int entry, const std::function<bool(int)>& fails);

// Counts one fault case run; the total is printed when the test program ends. The counter itself
// is there for the checks' own tests, which run no fault and put it back.
void CountFaultCase();
int& FaultCaseCounter();

#ifndef _WIN32
// Runs `body` in a forked child with its own copy of the test program and waits for it. The
// child ends with _exit(body()) (no destructor of the parent's objects runs there), so a child
// returns a small code, usually the wizard's page. Returns the wait status.
int RunInChild(const std::function<int()>& body);
// In a child: Start, English, Next, then frames until step `entry` + 1 (the one installing
// `entry`) is next; false when the wizard did not get there.
bool RunUpdateUpToEntry(WizardSession& s, int entry);
// In a child: frames until the wizard leaves the updating page; returns the page.
int16_t FinishRun(WizardSession& s);
#endif
