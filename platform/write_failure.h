// write_failure.h: why the system refused to create, write or replace a file, in the few kinds
// a player can act on. The file functions of platform_system.h leave the reason of their last
// failure where PlatformLastWriteFailure finds it; the update package reads it right after a
// failed write and hands it to the wizard, whose write-failure page (and the log) tell it.
#pragma once

#include <cstdint>

enum WriteFailureReason : int32_t {
    WriteFailureNone = 0,          // nothing failed (or the failure was not a write)
    WriteFailureAccessDenied = 1,  // no permission, or the file or the disk is read-only
    WriteFailureInUse = 2,         // another program holds the file open
    WriteFailureDiskFull = 3,      // no room left on the disk (or over a size limit or quota)
    WriteFailureFolderMissing = 4, // the folder of the file does not exist
    WriteFailureNameTooLong = 5,   // the path is longer than the system takes
    WriteFailureOther = 6,         // anything else
    WriteFailureNotPlainFolder = 7,  // a folder of the game is a link elsewhere, or no folder: the
                                     // installer refuses it itself (game_subfolders.h)
};
enum : int32_t { WriteFailureReasonCount = 8 };

// The reason of an errno value (POSIX and the C runtime's files on every system). Pure.
WriteFailureReason WriteFailureFromErrno(int error);
// The reason of a Windows system error code (GetLastError). Pure; defined in every build so that
// both mappings can be tested anywhere.
WriteFailureReason WriteFailureFromWindowsError(uint32_t error);
