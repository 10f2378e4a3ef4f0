// entry.cpp: the program entry's body, the main loop, the single-instance rule and the
// fatal-exit path. The platform start-up (platform/win32/win32_main.cpp, platform/sdl/sdl_main.cpp)
// calls RunWinMain with the command-line text.
#include <cstdlib>
#include <cstring>

#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "platform/platform_display.h"

FrameworkState gFramework = [] {
    FrameworkState state{};
    state.dirtyRect = DirtyRect{-1, -1, -1, -1};
    return state;
}();

QBIO::QBIO() { RegisterSingleInstance(gFramework.registeredApp, this, "Second QBIO class declared."); }

QBIO::~QBIO() {
    CloseGraphics();
    UnregisterSingleInstance(gFramework.registeredApp, this);
}

void QBIO::PumpMessages() {
    PlatformPumpMessages();
    PresentFrame();
}

const char* QBIO::GetCommandLineArgs() { return gFramework.commandLine; }

void FailSecondInstance(const char* message) {
    ShowMessageBox("Error", message);
    std::exit(-1);
}

void ShowMessageBox(const char* caption, const char* text) { PlatformShowMessageBox(caption, text); }

bool CommandLineContains(const char* text) { return std::strstr(gFramework.commandLine, text) != nullptr; }

// The loop lives in its own function so that no object with a destructor shares a frame with
// the setjmp: AbortApplication's longjmp skips only this frame and RunFrame's frames.
static void RunMainLoop() {
    if (setjmp(gFramework.fatalJump) != 0) return;
    while (gFramework.registeredApp != nullptr) {
        if (!gFramework.registeredApp->RunFrame()) return;
        if (gFramework.quitRequested == 1) return;
        gFramework.registeredApp->PumpMessages();
    }
}

int RunWinMain(void* instance, const char* commandLine) {
    gFramework.commandLine = commandLine;
    gFramework.instance = instance;
    gFramework.application = CreateApplication();
    gFramework.running = 1;
    if (gFramework.registeredApp != nullptr) RunMainLoop();
    gFramework.running = 0;
    DeleteApplication(gFramework.application);
    return gFramework.exitCode;
}

void AbortApplication() {
    if (gFramework.running == 1 && gFramework.registeredApp != nullptr) std::longjmp(gFramework.fatalJump, 1);
    std::exit(-1);
}
