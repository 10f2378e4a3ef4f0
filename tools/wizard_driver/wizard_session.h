// wizard_session.h: the real installer, driven frame by frame through the headless backend, on
// a delivered update and an installed game in a fresh temporary folder. Used by the end-to-end
// tests (tests/e2e/wizard_session.h), the page renderer, the demo's scripted install and the
// benchmarks (the last two on an installation prepared elsewhere). It
// reports through return values: a failure while preparing the folders makes Start false and is
// told on standard error.
//
//   update\   "update.dat" (packed here with the program's own packer), the seven readmes and the
//             seven fonts; the current folder while the installer runs.
//   game\     an installed game: old versions of entries 0, 9, 12, 44, 45, "tlf.icd", and
//             "qstart\*.qst" when asked for.
//   registry.reg   the record on Linux (TLF_REGISTRY); under Wine the prefix's registry.
//
// A frame is one pass of the main loop: RunFrame, then the pump of one scripted frame. Clicks,
// keys and typing are queued and frames run until the backend has delivered all of it and
// RunFrame has seen it, however many frames the pump needs for that.
#pragma once

#include <string>
#include <vector>

#include "app/installer_app.h"
#include "tools/wizard_driver/framework_reset.h"
#include "tools/wizard_driver/scratch_files.h"

// Entry `index` of the sample update and of the installed game before the update; distinct per
// entry, so that a file taken from the wrong place shows.
std::string NewContents(int index);
std::string OldContents(int index);
std::string ReadmeContents(int language);
// Path of entry i below the game folder, '/' between parts ("data/euro.cfg").
std::string EntryPath(int i);
// Native path of `relative` ('/' between parts) below `folder`.
std::string JoinNative(const std::string& folder, const std::string& relative);

class WizardSession {
public:
    WizardSession();
    // An installation prepared elsewhere (the demo): nothing is created; the record is as set up.
    explicit WizardSession(const std::string& existingUpdateFolder);
    ~WizardSession();
    WizardSession(const WizardSession&) = delete;
    WizardSession& operator=(const WizardSession&) = delete;

    // ---- before Start ----
    void SetRecord(const char* valueName, const std::string& text);
    void AddQuickStartFiles();
    // Makes the application with this command line in the update folder and runs the first
    // frame. False when the program ended at once.
    bool Start(const char* commandLine = "");

    // ---- driving; each is false once the program has ended ----
    bool Frame();
    bool RunUntilState(int16_t state, int maxFrames = 200);
    // Press and release at the centre of a slot's Button.
    bool ClickSlot(int slot);
    bool PressKey(int virtualKey);
    // Windows-1252 text, one key per character.
    bool Type(const std::string& text);
    bool ChooseLanguage(int language = 0);
    // From the version page: Next, then frames until the update leaves its page.
    bool RunUpdate();
    // Start, English, the update to the completed page; false when it did not get there.
    bool InstallToCompletion();
    // Ends the program as the main loop would.
    void Shutdown();

    // ---- looking ----
    bool Ended() const { return ended; }
    InstallerApp& App() { return *app; }
    int16_t State() const;
    std::string Caption(int slot) const;
    std::string RecordVersion() const;
    bool ReadGameFile(const std::string& relative, std::string* contents) const;
    std::string GameFile(const std::string& relative) const;
    bool GameFileExists(const std::string& relative) const;

    TempFolder root;
    std::string updateFolder;  // native paths; gameFolder as the record's "Location" holds it
    std::string gameFolder;
    std::string registryFile;  // Linux only

private:
    // Records a failure of preparing the session (Start then refuses).
    void Need(bool condition, const std::string& what);
    // Runs frames until every queued message is delivered, then one more for RunFrame to see it.
    bool Settle();

    InstallerApp* app = nullptr;
    bool ended = false;
    bool ready = true;
    bool ownsRecord = true;
    ScopedCurrentFolder* current = nullptr;
};
