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

#include "platform/write_failure.h"

// ---- files --------------------------------------------------------------------------------

// Opens a file with a standard mode string ("r", "rb", "w", "wb", "a+b"), as fopen. Opened only
// for reading ("r", "rb"), it is a regular file or nothing: a folder, a FIFO or a device is
// refused without waiting on it (a link to a regular file is read through).
FILE* PlatformOpenFile(const char* path, const char* mode);
// Gives the owner read and write permission (clears the read-only attribute), as
// _chmod(path, _S_IREAD | _S_IWRITE). A link is never followed: it is left as it is and counts as
// done (removing or renaming a link needs no change of its mode). 0 done, -1 failed.
int PlatformMakeWritable(const char* path);
// Deletes a file, as remove. 0 done, -1 failed.
int PlatformRemoveFile(const char* path);
// Renames or moves a file, as rename (fails when `to` exists on Windows). 0 done, -1 failed.
int PlatformRenameFile(const char* from, const char* to);
// Creates a new, empty file at exactly `path`: never an existing one, never through a link (on
// POSIX O_CREAT | O_EXCL | O_NOFOLLOW; on Windows CREATE_NEW). 0 done, -1 failed. The update
// unit makes its markers with it.
int PlatformCreateNewFile(const char* path);
// Creates a new, empty temporary file in the folder of `target` (exclusively: never an existing
// file, never through a link), opened for binary writing. Its path is written to tempPath.
// Null when it cannot be created or the path does not fit.
FILE* PlatformCreateTempFileBeside(const char* target, char* tempPath, size_t tempPathSize);
// Writes the file's buffers through to the disk (fflush, then fsync or FlushFileBuffers).
bool PlatformSyncFile(FILE* file);
// Writes a closed file's data through to the disk (fsync, or FlushFileBuffers on a handle opened
// for it); a link is not followed. The update unit flushes the files it put in place with it.
bool PlatformSyncPath(const char* path);
// Asks the system to start writing `length` bytes from `offset` of an unbuffered file to the disk
// without waiting for them (sync_file_range on Linux; nothing where there is no such call), so
// that the disk works while a long copy goes on and the PlatformSyncFile at its end finds little
// left to wait for. Changes no data and reports nothing; it never replaces PlatformSyncFile.
void PlatformStartWriteBack(FILE* file, int64_t offset, int64_t length);
// A second handle of its own on an open file, for a worker that flushes the file with
// PlatformSyncFile while, or after, the caller closes and renames it (the early flushes of
// package/background_flush.h); closed with fclose. Null where it cannot be had, and always on
// Windows, where a file that another handle holds open cannot be renamed into place.
FILE* PlatformFlushHandleOf(FILE* file);
// Tells the system that the cached contents of the file at `path` will not be read again
// (posix_fadvise POSIX_FADV_DONTNEED on POSIX; nothing on Windows): the memory they hold is free
// at once for what is written next. The file itself is not changed; a link is not followed.
// Reports nothing.
void PlatformForgetCachedFile(const char* path);
// Replaces `target` by `source` in one step (MoveFileExA with MOVEFILE_REPLACE_EXISTING |
// MOVEFILE_WRITE_THROUGH; rename on POSIX). A read-only target is made writable first; a link
// there is replaced as itself, never changed through.
bool PlatformReplaceFile(const char* source, const char* target);
// What a path names, looked at without following a link at its last component: nothing, a
// regular file, or anything else (a folder, a link, a device, a FIFO, or a path that cannot be
// looked at). Pack mode asks before it replaces "update.dat" and "SHA256SUMS".
enum class PlatformPathKind { Missing, RegularFile, Other };
PlatformPathKind PlatformPathKindOf(const char* path);
// Gives `file`, a temporary file this run has just created, the owner, group and permission
// bits of `model` when `model` is a regular file (never followed through a link); when `model`
// does not exist, the owner and group of the folder that will hold it, if this process runs as
// root (permission bits then stay as created). Windows: nothing (new files take the folder's
// inherited permissions). True when done or nothing was needed; false when a change was refused.
// A `model` that exists but is no regular file (a link, a folder, a device) gives false and
// changes nothing: the wizard calls it right after creating each temporary file that will
// replace a game file, and a link there is not the game's file to copy from.
bool PlatformTakeOwnerAndMode(FILE* file, const char* model);
// Size of an open file in bytes, or -1 when it cannot be told (files beyond 2 GiB included).
int64_t PlatformFileSize(FILE* file);
// Why the file call that just failed failed: one of the functions above, or fwrite, fflush or
// fclose on a file they opened. Callers set errno to 0 before the call and ask right after it,
// before any other file call. Reads errno (POSIX, and the C runtime on Windows) or, where errno
// is 0, GetLastError. WriteFailureNone when nothing tells.
WriteFailureReason PlatformLastWriteFailure();
// Bytes this user may still write on the disk that holds `folder`, or -1 when it cannot be told
// (a missing folder, or a file system that reports a size of 0 blocks). Read by the wizard's
// space check before an update.
int64_t PlatformFreeSpace(const char* folder);

// ---- processes ----------------------------------------------------------------------------

// This process's id: the number in the names of its temporary files.
uint32_t PlatformProcessId();
// True when a process of that id runs now (also one this user may not look at). The wizard
// removes a leftover temporary file only when its process is gone.
bool PlatformProcessIsAlive(uint32_t processId);

// ---- SHA-256 ------------------------------------------------------------------------------
// The system's or a well-kept library's SHA-256 (the processor's hash instructions where present):
// OpenSSL's libcrypto on POSIX, CNG (bcrypt) on Windows. Used by pack mode to write the checksum
// list and by extraction to check each entry while copying it.

enum : int { Sha256DigestSize = 32 };
struct PlatformSha256;
// A new digest; null when the system cannot make one.
PlatformSha256* PlatformSha256Begin();
// Adds bytes to a digest; null is ignored.
void PlatformSha256Add(PlatformSha256* digest, const void* bytes, size_t count);
// Writes the 32-byte result, releases the digest and returns true; false (released all the same)
// when a step failed. Null gives false.
bool PlatformSha256End(PlatformSha256* digest, uint8_t result[Sha256DigestSize]);

// ---- ECDSA P-256 --------------------------------------------------------------------------
// True when `rawSignature` (r then s, 32 big-endian bytes each, as package/der_signature.h reads
// "SHA256SUMS.sig") is an ECDSA signature with SHA-256 over the `messageLength` bytes of
// `message` by the P-256 key `publicKeyDer` (a SubjectPublicKeyInfo, uncompressed point). False
// for any other key, a key that cannot be read or a system that cannot verify. OpenSSL's
// libcrypto on POSIX, CNG on Windows. Called by the signature check (package/list_signature.h).
bool PlatformVerifyP256(const uint8_t* publicKeyDer, size_t derLength, const void* message, size_t messageLength,
                        const uint8_t rawSignature[64]);

// True when standard error is a terminal, where a run without a window shows its progress.
bool PlatformStandardErrorIsTerminal();
// Called by an unattended run before it writes anything: on Windows, when standard error leads
// nowhere (a windowed program started by `start /wait` or from a shortcut), it is connected to
// the console of the program that started this one, if that has one. Nothing elsewhere.
void PlatformUseParentConsole();

// ---- folders ------------------------------------------------------------------------------

// Writes the current working folder into buffer, as _getcwd. False when it does not fit.
bool PlatformGetCurrentFolder(char* buffer, size_t size);
// Creates a folder, as _mkdir. 0 done, -1 failed (also when it exists).
int PlatformMakeFolder(const char* path);
// True when the path names an existing folder.
bool PlatformIsFolder(const char* path);
// True when the path names a folder itself: not a link (or junction) to one.
bool PlatformIsPlainFolder(const char* path);
// Removes an empty folder (a link in its place is not followed). 0 done, -1 failed.
int PlatformRemoveFolder(const char* path);
// Makes the names created, renamed or removed in the folder so far survive a power cut (fsync of
// the folder on POSIX; nothing on Windows, where the update's moves are written through).
void PlatformSyncFolder(const char* path);
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

// ---- a folder held open -------------------------------------------------------------------
// The update unit keeps the game's old files in a folder of its own inside the game folder and
// reaches it only through this handle, opened once: a link someone puts in the folder's place
// afterwards leads the unit nowhere. POSIX: a descriptor opened with O_DIRECTORY | O_NOFOLLOW and
// the *at calls relative to it. Windows: a handle that does not share deletion, so that the
// folder can be neither renamed nor removed while it is held, and "<folder>\<name>" paths.
// `name` is a bare name the caller made itself, used exactly as given; `from` and `to` are the
// program's paths as everywhere. 0 done, -1 failed, the reason for PlatformLastWriteFailure.
struct PlatformFolder;
// Opens an existing folder that is a folder itself; null for a link, a junction, a file or
// nothing at all.
PlatformFolder* PlatformOpenPlainFolder(const char* path);
// Lets the folder go (null is ignored); only then can it be removed, by its path.
void PlatformCloseFolder(PlatformFolder* folder);
// Renames the file at `from` (a link as itself) to `name` in the folder; never replaces.
int PlatformMoveIntoFolder(PlatformFolder* folder, const char* from, const char* name);
// Renames `name` in the folder to `to`; never replaces.
int PlatformMoveOutOfFolder(PlatformFolder* folder, const char* name, const char* to);
// Creates a new, empty file `name` in the folder: never an existing one, never through a link.
int PlatformCreateNewFileIn(PlatformFolder* folder, const char* name);
// Removes the file `name` in the folder, a read-only one too (a link as itself).
int PlatformRemoveFileIn(PlatformFolder* folder, const char* name);
// What `name` in the folder is, as PlatformPathKindOf tells it.
PlatformPathKind PlatformPathKindIn(PlatformFolder* folder, const char* name);
// PlatformSyncFolder of the folder held.
void PlatformSyncHeldFolder(PlatformFolder* folder);

// ---- installation record ------------------------------------------------------------------

// Reads the text value `valueName` of the key HKEY_LOCAL_MACHINE\`keyPath` into buffer (size
// bytes, zero-terminated inside the buffer, else false). Never creates anything.
bool PlatformRecordRead(const char* keyPath, const char* valueName, char* buffer, uint32_t size);
// Writes the text value (REG_SZ, with its zero byte), creating the key when needed.
bool PlatformRecordWrite(const char* keyPath, const char* valueName, const char* text);
// Where the record of `keyPath` lives, as a person would look for it: the registry key
// ("HKEY_LOCAL_MACHINE\...") on Windows, the record file's path elsewhere. For the wizard's
// write-failure page and the log. False when it does not fit.
bool PlatformRecordName(const char* keyPath, char* buffer, size_t size);
