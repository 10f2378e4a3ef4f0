// platform_system.h: the files, folders and installation-record half of the platform contract.
//
// Portable code names files as the installer always has: Windows paths joined with backslashes
// ("%s\%s", "%s%s%s"), names compared without regard to case. Two backends implement this:
//   platform/win32/system_*.cpp   the Windows runtime and registry, paths used as they are
//   platform/posix/*.cpp          Linux: each path is mapped to a native one (backslash to slash,
//                                 each missing component matched case-insensitively), and the
//                                 record is a .reg text file (TLF_REGISTRY, else
//                                 ${XDG_CONFIG_HOME:-$HOME/.config}/tallyfield/registry.reg)
//
// Result convention: bool true or a non-null pointer means done; int results follow the C
// runtime (0 done, -1 failed). Nothing here shows a message.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// ---- files --------------------------------------------------------------------------------

// Opens a file with a standard mode string ("r", "rb", "w", "wb", "a+b"), as fopen.
FILE* PlatformOpenFile(const char* path, const char* mode);
// Gives the owner read and write permission (clears the read-only attribute), as
// _chmod(path, _S_IREAD | _S_IWRITE). 0 done, -1 failed.
int PlatformMakeWritable(const char* path);
// Deletes a file, as remove. 0 done, -1 failed.
int PlatformRemoveFile(const char* path);
// Renames or moves a file, as rename (fails when `to` exists on Windows). 0 done, -1 failed.
int PlatformRenameFile(const char* from, const char* to);
// Creates a new, empty temporary file in the folder of `target` (exclusively: never an existing
// file, never through a link), opened for binary writing. Its path is written to tempPath.
// Null when it cannot be created or the path does not fit.
FILE* PlatformCreateTempFileBeside(const char* target, char* tempPath, size_t tempPathSize);
// Writes the file's buffers through to the disk (fflush, then fsync or FlushFileBuffers).
bool PlatformSyncFile(FILE* file);
// Asks the system to start writing `length` bytes from `offset` of an unbuffered file to the disk
// without waiting for them (sync_file_range on Linux; nothing where there is no such call), so
// that the disk works while a long copy goes on and the PlatformSyncFile at its end finds little
// left to wait for. Changes no data and reports nothing; it never replaces PlatformSyncFile.
void PlatformStartWriteBack(FILE* file, int64_t offset, int64_t length);
// Replaces `target` by `source` in one step (MoveFileExA with MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH; rename on POSIX). A read-only target is made writable first.
bool PlatformReplaceFile(const char* source, const char* target);
// Size of an open file in bytes, or -1 when it cannot be told (files beyond 2 GiB included).
int64_t PlatformFileSize(FILE* file);

// True when standard error is a terminal, where a run without a window shows its progress.
bool PlatformStandardErrorIsTerminal();

// ---- folders ------------------------------------------------------------------------------

// Writes the current working folder into buffer, as _getcwd. False when it does not fit.
bool PlatformGetCurrentFolder(char* buffer, size_t size);
// Creates a folder, as _mkdir. 0 done, -1 failed (also when it exists).
int PlatformMakeFolder(const char* path);
// True when the path names an existing folder.
bool PlatformIsFolder(const char* path);
// Fetches the logical drive strings ("C:\" NUL "D:\" NUL NUL) as GetLogicalDriveStringsA:
// returns the length written without the final NUL, or 0 on failure. POSIX has one drive, "/".
unsigned PlatformLogicalDriveStrings(char* buffer, unsigned size);

// One entry of a folder listing, in the layout of the runtime's _finddata32_t.
struct PlatformFindData {
    uint32_t attrib;  // 0x10 folder, 0x01 read-only
    int32_t timeCreate;
    int32_t timeAccess;
    int32_t timeWrite;
    uint32_t size;
    char name[260];
};
enum : uint32_t { PlatformAttributeReadOnly = 0x01, PlatformAttributeFolder = 0x10 };

// Starts a listing of `pattern` (a folder, a backslash and a name with * and ?, matched without
// regard to case, not recursive) and fills the first match, as _findfirst. -1 when nothing matches.
intptr_t PlatformFindFirst(const char* pattern, PlatformFindData* data);
// Fills the next match, as _findnext: 0 done, -1 when there is none.
int PlatformFindNext(intptr_t handle, PlatformFindData* data);
// Ends a listing, as _findclose.
void PlatformFindClose(intptr_t handle);

// ---- installation record ------------------------------------------------------------------

// Reads the text value `valueName` of the key HKEY_LOCAL_MACHINE\`keyPath` into buffer (size
// bytes, zero-terminated inside the buffer, else false). Never creates anything.
bool PlatformRecordRead(const char* keyPath, const char* valueName, char* buffer, uint32_t size);
// Writes the text value (REG_SZ, with its zero byte), creating the key when needed.
bool PlatformRecordWrite(const char* keyPath, const char* valueName, const char* text);
