// installer_app.cpp: construction and destruction of the installer application in its two modes,
// and the CreateApplication / DeleteApplication pair the framework's entry calls.
#include "app/installer_app.h"

#include <cstring>
#include <new>

#include "app/texts.h"
#include "framework/exit_code.h"
#include "framework/folder_path.h"
#include "framework/framework_state.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "gfx/button.h"
#include "package/update_package.h"
#include "platform/platform_system.h"

const char ProductSubkey[] = "Tallyfield";
const char VersionValueName[] = "Version";
const char LocationValueName[] = "Location";
const char InitialGameFolder[] = "c:\\tlfdemo";

namespace {

// Pack mode: build "update.dat" from the loose files and say how it went. A failure also makes
// the process end with 1, so that a publisher's script notices it.
void RunPackMode() {
    if (BuildUpdatePackage()) {
        ShowMessageBox("Setup", "Packed files successfully !");
    } else {
        ShowMessageBox("Setup", "Unable to pack files");
        gFramework.exitCode = ExitPackFailed;
    }
}

}  // namespace

InstallerApp::InstallerApp() {
    // The base constructor has registered the object; the slots and devices start empty.
    FolderPath fontFolder;  // the current folder: where the font files lie
    freeSpaceOf = PlatformFreeSpace;
    if (ParseCommandLine(GetCommandLineWords()).options.pack) {
        RunPackMode();
        return;
    }
    if (!StartFromCommandLine()) {
        quit = true;
        return;
    }

    quit = false;
    language = LanguageEnglish;
    state = StateChooseLanguage;
    drawnState = -1;
    fileCounter = 0;
    std::strcpy(gameFolder, InitialGameFolder);
    // VERYSILENT: no window, mouse or keyboard, so that no display is needed.
    if (options.verySilent) return;

    // Each failure is told in an "Error" box (and the log); the first frame then ends the program.
    auto fail = [this](const char* text) {
        ShowMessageBox("Error", text);
        LogFailure(watch.log, "%s", text);
        gFramework.exitCode = ExitProgramError;
        quit = true;
    };
    mouse = new (std::nothrow) MOUSE;
    if (mouse == nullptr) fail("Unable to create mouse");
    if (mouse != nullptr) mouse->SetCursorShape(CursorArrow);

    keyboard = new (std::nothrow) KEYBOARD;
    if (keyboard == nullptr) fail("Unable to create keyboard");

    if (OpenGraphics(550, 350, WindowTitle[LanguageEnglish], 0, &fontFolder, -1, -1, -1, -1) != 0) {
        fail("Unable to open graphics");
    }
}

InstallerApp::~InstallerApp() {
    // Exit or Escape before the update was complete, the window closed, an unattended run's
    // failure: the game goes back to how it was before the log's last line.
    PutBackGame();
    EndRun();
    ReleaseButtons(0);
    CloseGraphics();
    delete mouse;
    mouse = nullptr;
    delete keyboard;
    keyboard = nullptr;
    // The base destructor closes the (already closed) graphics and withdraws the registration.
}

void InstallerApp::ReleaseButtons(int first) {
    for (int i = first; i < WizardSlotCount; ++i) {
        DeleteButton(buttons[i]);
        buttons[i] = nullptr;
    }
}

QBIO* CreateApplication() { return new (std::nothrow) InstallerApp; }

void DeleteApplication(QBIO* application) {
    // The framework knows only the base; the one application is always an InstallerApp.
    delete static_cast<InstallerApp*>(application);
}
