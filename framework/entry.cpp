// entry.cpp: the program entry's body, the main loop, the single-instance rule and the
// fatal-exit path. The platform start-up calls RunWinMain with the command-line text
// (platform/win32/win32_main.cpp) or RunWithArguments with the arguments (platform/sdl/sdl_main.cpp).
#include <cstdlib>
#include <cstring>
#include <string>

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

namespace {

// The run's arguments as the entry received them, and their text (gFramework.commandLine points
// to it); both live until the next run (tests run several).
CommandWords gWords;
std::string gText;

int RunApplication(void* instance) {
    gFramework.commandLine = gText.c_str();
    gFramework.instance = instance;
    gFramework.application = CreateApplication();
    gFramework.running = 1;
    if (gFramework.registeredApp != nullptr) RunMainLoop();
    gFramework.running = 0;
    DeleteApplication(gFramework.application);
    return gFramework.exitCode;
}

}  // namespace

const CommandWords& QBIO::GetCommandLineWords() {
    if (gFramework.commandLine == gText.c_str()) return gWords;
    // A text set without the entry (the tests' wizard driver) is split as Windows hands it over.
    static CommandWords split;
    split = SplitWindowsCommandLine(gFramework.commandLine);
    return split;
}

int RunWinMain(void* instance, const char* commandLine) {
    gText = commandLine != nullptr ? commandLine : "";
    gWords = SplitWindowsCommandLine(commandLine);
    return RunApplication(instance);
}

int RunWithArguments(void* instance, int count, const char* const* arguments) {
    gWords.assign(arguments, arguments + (count > 0 ? count : 0));
    gText = JoinCommandWords(gWords);
    return RunApplication(instance);
}

void AbortApplication() {
    if (gFramework.running == 1 && gFramework.registeredApp != nullptr) std::longjmp(gFramework.fatalJump, 1);
    std::exit(-1);
}
