// sdl_main.cpp: the Linux program's start-up. Builds the command-line text the framework expects
// (the arguments after the program name, joined by single spaces) and runs the framework entry.
#include <string>

#include "framework/qbio.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        commandLine += argv[i];
    }
    // The text must outlive the program's run: the framework keeps the pointer, not a copy.
    static std::string kept;
    kept = commandLine;
    return RunWinMain(nullptr, kept.c_str());
}
