// installer_app.h: the installer's one application object and its wizard.
//
// The framework's entry makes the object with CreateApplication before the main loop and
// destroys it with DeleteApplication after it. The command line picks the mode:
//  - pack mode ("-pack" anywhere in it): the constructor builds "update.dat" from the loose files
//    in the current folder, says how it went in a "Setup" box, and the first frame ends the
//    program (exit code 1 when packing failed);
//  - install mode: the constructor makes the mouse and keyboard and opens the 550 x 350 window;
//    the main loop then calls RunFrame (wizard_flow.cpp) once per frame and the window calls
//    Redraw (wizard_pages.cpp) whenever the page must be painted.
// Failures during construction are told in "Error" boxes and end the program at its first frame.
// The command line (app/command_line.h) may also ask for an unattended run, a language, a game
// folder or a log (unattended_run.cpp); every run ends with the exit code of its outcome
// (framework/exit_code.h).
#pragma once

#include <cstdint>

#include "app/command_line.h"
#include "app/run_log.h"
#include "framework/qbio.h"
#include "package/checksum_list.h"
#include "package/list_signature.h"
#include "package/update_unit.h"
#include "platform/write_failure.h"

class MOUSE;
class KEYBOARD;
struct Button;

// The wizard's states; each has one page. 6 and 10 are reserved: they have pages, but no
// transition enters them.
enum WizardState : int16_t {
    StateChooseLanguage = 0,
    StateNotInstalled = 1,
    StateConfirmVersions = 2,
    StateUpdating = 3,
    StateCompleted = 4,
    StateSourceMissing = 5,
    StateInstallCorrupt = 6,
    StateQuickStartPrompt = 7,
    StateEnterFolder = 8,
    StateWriteFailed = 9,
    StateNotCompatible = 10,
};

// The wizard's meaning of a Button's positive action codes (the Button's argument in brackets).
enum WizardAction : int32_t {
    ActionChooseLanguage = 1,    // (a LanguageIndex) choose it and look up the installation
    ActionGoToState = 2,         // (a WizardState) enter it
    ActionFinish = 3,            // on the completed page open the readme; then end the wizard
    ActionDeleteQuickStart = 4,  // delete the quick-start files, then the completed page
    ActionKeepQuickStart = 5,    // the completed page
};

// Slot 0 the Exit Button of every page; 1 and 2 the panel and inset (or the language Buttons);
// 3 and 4 the left and right command Buttons (Enter presses slot 4); 5 to 13 the text lines: the
// nine lines of 17 pixels that fit the inset of a page, so that the write-failure page can say
// which file, why and what to do in every language.
constexpr int WizardSlotCount = 14;
// Text buffers hold at most 199 characters and their zero byte.
constexpr int WizardTextSize = 200;
// The update steps: 0 checks the sources, 1 to 47 install one entry each, 48 finishes.
constexpr int16_t UpdateStepFinish = 48;
// Room for a path in the game: the game folder (199), the longest subfolder and entry name.
constexpr int WizardPathSize = 260;

// The wizard's record of the last write that failed: what its write-failure page shows, and what
// a log of the run can read. Set just before the wizard enters StateWriteFailed.
struct WriteFailureRecord {
    WriteFailureReason reason = WriteFailureNone;
    char file[WizardPathSize] = {};  // the full path that could not be written; "" for the space check
    int64_t bytesNeeded = -1;        // the space check: bytes the update needs on the game's disk
    int64_t bytesFree = -1;          // and bytes free there; both -1 for any other failure
};

// Where the free space of the game's disk comes from: the system, or a figure a test hands in.
typedef int64_t (*FreeSpaceProbe)(const char* folder);

// The record's product key and the values the wizard uses.
extern const char ProductSubkey[];       // "Tallyfield"
extern const char VersionValueName[];    // "Version": read, and written when the update is done
extern const char LocationValueName[];   // "Location": read only
// The game folder until the record's "Location" is read.
extern const char InitialGameFolder[];   // "c:\tlfdemo"

class InstallerApp final : public QBIO {
public:
    InstallerApp();
    ~InstallerApp();

    // Draws the page of `state`, building its Buttons when the state changed (wizard_pages.cpp).
    void Redraw() override;
    // One frame: at most one key event, one update step, and the ten slots polled with their
    // actions carried out; false ends the program (wizard_flow.cpp).
    bool RunFrame() override;

    int16_t state = StateChooseLanguage;
    int16_t drawnState = -1;       // the state whose page Redraw last built; -1 none
    int16_t fileCounter = 0;       // the update step, 0 to 48; never reset
    int16_t boxX = 0;              // progress panel (StateUpdating) or text field (StateEnterFolder),
    int16_t boxY = 0;              // laid out by Redraw before RunFrame uses them; boxWidth is
    int16_t boxWidth = 0;          // also the pixel limit of typing
    char installedVersion[WizardTextSize] = {};
    char gameFolder[WizardTextSize] = {};
    MOUSE* mouse = nullptr;        // owned
    KEYBOARD* keyboard = nullptr;  // owned
    bool quit = false;
    int32_t language = 0;          // LanguageIndex of every text shown
    Button* buttons[WizardSlotCount] = {};  // owned; null slots are skipped
    CommandLineOptions options;    // what the command line asked for
    RunWatch watch;                // what the log has been told so far (unattended_run.cpp)
    WriteFailureRecord lastWriteFailure;    // the last failed write, for the page and a log
    // The file whose bytes are at fault on StateSourceMissing ("update.dat", a readme,
    // "SHA256SUMS" or an entry whose digest differs): named on that page; "" when none is known.
    char faultyFile[WizardPathSize] = {};
    ChecksumList checksums = {};            // read at the source check; count 0: no list
    // The signature check of that list (package/list_signature.h), for the log; fault fine and
    // key -1 when the program has no key or the check was not reached.
    SignedListCheck signedList = {SignedListFine, nullptr, -1};
    FreeSpaceProbe freeSpaceOf = nullptr;   // PlatformFreeSpace unless a test hands in a figure
    // The update as one unit (package/update_unit.h): begun at the source check, completed when
    // the record holds the new version, put back on a package fault and when the program ends
    // before that.
    UpdateUnit unit;
    UnitRecovery recovered = UnitRecoveryNothing;  // what the last look for a dead run's journal did
    int unitFailures = 0;   // items that could not be put back by the last put-back or recovery
    int16_t putBackCount = 0;  // how many times this run has put a game back, for the log
    int16_t recoveries = 0;    // how many dead runs' updates this run has finished, for the log

    // Puts the game back as it was when an update unit is under way (unitFailures then counts what
    // could not be put back); the program's end and every failure that leaves no way on call it.
    void PutBackGame();

    // Releases the Buttons of slots first..9 and empties them.
    void ReleaseButtons(int first);

private:
    // wizard_pages.cpp: the pages, one function per kind.
    bool BuildLanguagePage();
    void BuildStandardFrame();
    void BuildPage();
    void AddBlueWrappedText(int16_t& slot, int16_t& y, int16_t x, int16_t width, const char* text);
    void BuildWriteFailureText(int16_t x, int16_t y, int16_t width);

    // wizard_flow.cpp: the actions and the update.
    void EditFolder(uint8_t character, int32_t keyCode);
    void ChooseLanguage(int32_t languageIndex);
    void CarryOutAction(int32_t action, int32_t argument);
    void RunUpdateStep();
    bool SourcesAreWhole();
    bool SubfoldersAreTheGames();
    void PrepareGameFolder();
    bool UpdateFitsOnDisk();
    bool BeginUnit();
    void ShowJournalFailure(WriteFailureReason reason);
    bool InstallEntry(int entry);
    void ShowWriteFailure(WriteFailureReason reason, const char* file);
    void WriteEntryAgain(int entry, WriteFailureReason reason);
    void ShowPackageFault(const char* file);
    void FinishUpdate();
    void RecoverInterruptedUpdate();
    void DrawProgressBar(int16_t step);
    void EnterState(int16_t newState);

    // unattended_run.cpp: the command line's part in a run. StartFromCommandLine is called by
    // the constructor (false: the run ends before the wizard, after the usage or a bad command
    // line), AfterFrame at the end of every RunFrame, EndRun by the destructor.
    bool StartFromCommandLine();
    void AfterFrame();
    void PressForUnattendedRun();
    void LogChanges();
    void LogFailurePage();
    void LogSignatureFault();
    void LogGameState();
    void EndRun();
};

// The Buttons of the language page: one per language whose `offered` byte is non-zero, in
// LanguageIndex order from slot 1, centred on a screen of the given size and sized from font 2.
// When exactly one is offered its forceClick is set, so the next poll chooses it. Returns the
// number offered. Called by Redraw with LanguageEnabled when the language page is entered.
int BuildLanguageButtons(Button** slots, const uint8_t* offered, int16_t screenWidth, int16_t screenHeight);
