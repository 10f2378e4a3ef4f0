// sdl_main.cpp: the Linux program's start-up. Builds the command-line text the framework expects
// (the arguments after the program name, joined by single spaces, as Windows hands it over) and
// runs the framework entry. An argument holding a blank is put in double quotes, so that
// --dir="/home/me/My Games" stays one word when the installer reads its switches.
#include <string>

#include "framework/qbio.h"

int main(int argc, char** argv) {
    std::string commandLine;
    for (int i = 1; i < argc; ++i) {
        if (i > 1) commandLine += ' ';
        const std::string argument = argv[i];
        const bool blank = argument.find_first_of(" \t") != std::string::npos;
        commandLine += blank ? "\"" + argument + "\"" : argument;
    }
    // The text must outlive the program's run: the framework keeps the pointer, not a copy.
    static std::string kept;
    kept = commandLine;
    return RunWinMain(nullptr, kept.c_str());
}
