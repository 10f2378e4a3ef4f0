// win32_main.cpp: the Windows program's start-up. The runtime hands WinMain the command-line
// text without the program name; the framework entry splits it into words by the Windows rules
// (framework/command_words.h) and does the rest.
#include <windows.h>

#include "framework/qbio.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    return RunWinMain(instance, commandLine);
}
