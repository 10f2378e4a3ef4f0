// qbio.h: the application base class, the program entry and the main loop.
//
// The program has one application object, derived from QBIO, made by CreateApplication before
// the main loop and destroyed by DeleteApplication after it. The loop calls RunFrame, tests the
// close request, pumps the window messages and presents the frame buffer, and never sleeps.
// The display members of QBIO are implemented in display.cpp.
#pragma once

#include <cstdint>

#include "framework/command_words.h"

class FolderPath;

class QBIO {
public:
    // Registers the object as the single application; a second one ends the process (-1).
    QBIO();
    // Closes the graphics, then withdraws the registration. Not virtual: the application is
    // always destroyed through DeleteApplication, which knows its type.
    ~QBIO();

    // Slot 0: draws the whole current screen into the frame buffer. Called by the window
    // procedure on WM_PAINT (only while the loop runs) and by the application itself.
    virtual void Redraw() = 0;
    // Slot 1: one frame of the application; false ends the program. Called once per pass of
    // the main loop; must return promptly.
    virtual bool RunFrame() = 0;

    // Dispatches every waiting window message without waiting, then presents the frame.
    void PumpMessages();
    // The command-line text the entry received (program name removed); may be null. On Linux
    // the arguments joined for people to read (JoinCommandWords).
    const char* GetCommandLineArgs();
    // The arguments one word each (program name removed), as the system gave them: what the
    // installer reads its switches from.
    const CommandWords& GetCommandLineWords();

    // Display (display.cpp). OpenGraphics returns 0, 1 (no window), 2 (no frame buffer),
    // 6 (no font table) or the first failing LoadFont code.
    int OpenGraphics(int16_t width, int16_t height, const char* title, uint8_t maximise,
                     FolderPath* fontFolder, int16_t minHeight, int16_t maxHeight,
                     int16_t minWidth, int16_t maxWidth);
    void CloseGraphics();
    bool IsGraphicsOpen();
    int16_t GetScreenWidth();
    int16_t GetScreenHeight();
    void SetWindowTitle(const char* title);
    void PresentFrame();
};

// Supplied by the application module (app/): makes the one application object, or null.
QBIO* CreateApplication();
// Supplied by the application module: destroys the object; null is ignored.
void DeleteApplication(QBIO* application);

// The body of WinMain, shared by every platform's start-up: keeps the instance and the
// command-line text, splits the text into words by the Windows rules (SplitWindowsCommandLine),
// runs the application and its main loop, and returns the exit code.
int RunWinMain(void* instance, const char* commandLine);
// The same for a system that hands over the arguments one by one (Linux: argv after the
// program's name): the words are kept as they are, and their text is JoinCommandWords's.
int RunWithArguments(void* instance, int count, const char* const* arguments);
// Returns to the main loop's saved point when the loop runs; otherwise ends the process (-1).
[[noreturn]] void AbortApplication();
// Shows a modal "OK" message box with no owner.
void ShowMessageBox(const char* caption, const char* text);
// True when `text` occurs anywhere in the command line (case-sensitive).
bool CommandLineContains(const char* text);
// Ends the process after a second instance of a single-instance class: shows `message` in an
// "Error" box, then exit(-1).
[[noreturn]] void FailSecondInstance(const char* message);

// The single-instance rule of QBIO, MOUSE and KEYBOARD, each with its slot in gFramework:
// called first by each constructor, and by each destructor.
template <typename T>
void RegisterSingleInstance(T*& slot, T* object, const char* message) {
    if (slot != nullptr) FailSecondInstance(message);
    slot = object;
}
template <typename T>
void UnregisterSingleInstance(T*& slot, T* object) {
    if (slot == object) slot = nullptr;
}
