// test_window_program.cc: the input test window as a program of its own, for the checks with a
// real display and real input events (tests/input/test_window_check.sh compiles it with the
// platform's own start-up file, platform/sdl/sdl_main.cpp or platform/win32/win32_main.cpp, and
// the libraries of a build). Not part of tests_input: its name does not end in .cpp.
//
// It opens the window with the fonts of the current folder and, when it ends, writes its event
// log, one entry per line, to the file named by TLF_TEST_WINDOW_LOG (default "test_window.log").
// While it runs, the file named by TLF_TEST_WINDOW_FRAMES (when set) holds the number of frames
// begun, so that the check can wait until the program has seen what it sent.
#include <cstdio>
#include <cstdlib>

#include "platform/platform_system.h"
#include "tests/input/test_window.h"

QBIO* CreateApplication() {
    TestWindowApp* window = new TestWindowApp();
    if (const char* framesPath = std::getenv("TLF_TEST_WINDOW_FRAMES")) {
        window->onFrameStart = [framesPath](const TestWindowApp& app) {
            FILE* file = PlatformOpenFile(framesPath, "w");
            if (file == nullptr) return;
            std::fprintf(file, "%d\n", app.frames);
            std::fclose(file);
        };
    }
    return window;
}

void DeleteApplication(QBIO* application) {
    TestWindowApp* window = static_cast<TestWindowApp*>(application);
    if (window == nullptr) return;
    const char* path = std::getenv("TLF_TEST_WINDOW_LOG");
    FILE* log = PlatformOpenFile(path != nullptr ? path : "test_window.log", "w");
    if (log != nullptr) {
        if (!window->opened) std::fputs("not opened\n", log);
        for (const std::string& entry : window->log) std::fprintf(log, "%s\n", entry.c_str());
        std::fclose(log);
    }
    delete window;
}
