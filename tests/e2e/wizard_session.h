// wizard_session.h: the real installer, driven frame by frame through the headless backend, on
// a delivered update and an installed game in a fresh temporary folder.
//
// Layout of one session's folder:
//   update\   what the publisher delivers: "update.dat" (packed here from sample files with the
//             program's own packer), the seven language readmes and the seven fonts. It is the
//             current folder while the installer runs, as when a player starts it from there.
//   game\     an installed game: old versions of a few files in "data\" and "pictures\",
//             "tlf.exe", "tlf.icd", and "qstart\*.qst" when asked for.
//   registry.reg   the installation record on Linux (TLF_REGISTRY); under Wine the record is
//             the prefix's real registry, written through the same functions.
//
// A frame is what one pass of the main loop does: RunFrame, then (if the program goes on) the
// pump of one scripted frame of messages and the presentation. Clicks and keys are posted as
// messages and need two or three frames to arrive; the helpers run exactly those frames.
#pragma once

#include <string>
#include <vector>

#include "app/installer_app.h"
#include "tests/support/test_files.h"

// Contents of entry `index` of the sample update, and of the file an installed game holds in its
// place before the update. Distinct per entry, so a file taken from the wrong place shows.
std::string NewContents(int index);
std::string OldContents(int index);
// The text of a language's readme in the sample update.
std::string ReadmeContents(int language);

// Zero framework state and a fresh headless backend.
void ResetFrameworkAndBackend();

class WizardSession {
public:
    // A fresh update and game in a new temporary folder (see above).
    WizardSession();
    // An installation prepared elsewhere (the demo): the installer runs in existingUpdateFolder,
    // and nothing is created or changed before Start; the record is whatever is configured.
    explicit WizardSession(const std::string& existingUpdateFolder);
    ~WizardSession();
    WizardSession(const WizardSession&) = delete;
    WizardSession& operator=(const WizardSession&) = delete;

    // ---- before Start ----
    // Sets a value of the record ("Version", "Location").
    void SetRecord(const char* valueName, const std::string& text);
    // Adds quick-start files to the game.
    void AddQuickStartFiles();

    // Makes the application with this command line, in the update folder, and runs the first
    // frame (the first paint builds the language page). False when the program ended at once.
    bool Start(const char* commandLine = "");

    // ---- driving ----
    // One pass of the main loop; false once the program has ended (then nothing runs any more).
    bool Frame();
    // Runs frames until the state is `state` or the program ends, at most maxFrames.
    bool RunUntilState(int16_t state, int maxFrames = 200);
    // Clicks the Button in a slot (press and release at its centre) and runs the three frames
    // the click needs to reach RunFrame. False when the program ended.
    bool ClickSlot(int slot);
    // Presses a key (WM_KEYDOWN, WM_CHAR, WM_KEYUP) and runs the two frames it needs.
    bool PressKey(int virtualKey);
    // Types Windows-1252 text into the program, one character per frame.
    bool Type(const std::string& text);
    // Chooses English (or another language) on the language page.
    bool ChooseLanguage(int language = 0);
    // From the version page: Next, then every update step until the update leaves StateUpdating.
    bool RunUpdate();
    // The whole way from Start to the completed page in English.
    void InstallToCompletion();

    // ---- looking ----
    bool Ended() const { return ended; }
    InstallerApp& App() { return *app; }
    int16_t State() const;
    // The caption, action and argument of a slot's Button; empty caption and -99 for an empty slot.
    std::string Caption(int slot) const;
    int32_t Action(int slot) const;
    int32_t Argument(int slot) const;
    // The record's "Version" now ("" when it cannot be read).
    std::string RecordVersion() const;
    // A file of the game (path below the game folder, with '/' between parts) or "" + false.
    bool ReadGameFile(const std::string& relative, std::string* contents) const;
    std::string GameFile(const std::string& relative) const;
    bool GameFileExists(const std::string& relative) const;
    std::vector<std::string> UpdateFolderNames() const;

    // Ends the program as the main loop would (running cleared, application deleted).
    void Shutdown();

    TempFolder root;
    std::string updateFolder;  // native path
    std::string gameFolder;    // native path, as the record's "Location" holds it
    std::string registryFile;  // Linux only

private:
    InstallerApp* app = nullptr;
    bool ended = false;
    bool ownsRecord = true;  // the record (TLF_REGISTRY) was set up by this session
    ScopedCurrentFolder* current = nullptr;
};

// Native path of `relative` (parts separated by '/') below `folder`.
std::string JoinNative(const std::string& folder, const std::string& relative);
