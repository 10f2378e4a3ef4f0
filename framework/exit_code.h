// exit_code.h: the codes the process ends with, one per outcome, so that a script running the
// installer can tell what happened. The application stores its outcome in gFramework.exitCode,
// which RunWinMain returns; a second instance of a single-instance class ends with -1 instead.
#pragma once

enum ProcessExitCode : int {
    ExitUpdated = 0,         // the update is complete; also a good pack and the usage shown
    ExitPackFailed = 1,      // "Unable to pack files"
    ExitNotInstalled = 2,    // no installation record, or no "tlf.exe" in the game folder
    ExitSourceMissing = 3,   // a source of the update is missing, or "update.dat" is corrupt
    ExitWriteFailed = 4,     // a file could not be written into the game folder
    ExitCancelled = 5,       // Escape, Exit or the window closed before the update was complete
    ExitBadCommandLine = 6,  // an unknown switch or a bad value (the message names it)
    ExitProgramError = 7,    // "Unable to open graphics" and the other "Error" messages
};
