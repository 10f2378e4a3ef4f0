// system_folders.cpp: the folder functions and the folder listing of platform_system.h on
// Windows, over the C runtime (_getcwd, _mkdir, _findfirst) and kernel32.
// The runtime's find record may carry 64-bit times; they are cut to the 32 bits of
// PlatformFindData, as _findfirst32 would give them.
#include <windows.h>

#include <direct.h>
#include <io.h>

#include <cstring>

#include "platform/platform_system.h"

bool PlatformGetCurrentFolder(char* buffer, size_t size) {
    if (!buffer || size == 0 || size > 0x7FFFFFFF) return false;
    return _getcwd(buffer, static_cast<int>(size)) != nullptr;
}

int PlatformMakeFolder(const char* path) {
    if (!path) return -1;
    return _mkdir(path) == 0 ? 0 : -1;
}

bool PlatformIsFolder(const char* path) {
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlatformIsPlainFolder(const char* path) {
    if (!path || !*path) return false;
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

int PlatformRemoveFolder(const char* path) {
    if (!path) return -1;
    return RemoveDirectoryA(path) != 0 ? 0 : -1;
}

void PlatformSyncFolder(const char*) {}

unsigned PlatformLogicalDriveStrings(char* buffer, unsigned size) {
    if (!buffer || size == 0) return 0;
    DWORD length = GetLogicalDriveStringsA(size, buffer);
    // A result of size or more is the size that would have been needed: nothing usable was written.
    return length >= size ? 0 : length;
}

namespace {

void CopyEntry(const _finddata_t& found, PlatformFindData* data) {
    data->attrib = found.attrib;
    data->timeCreate = static_cast<int32_t>(found.time_create);
    data->timeAccess = static_cast<int32_t>(found.time_access);
    data->timeWrite = static_cast<int32_t>(found.time_write);
    data->size = static_cast<uint32_t>(found.size);
    static_assert(sizeof(data->name) == sizeof(found.name), "the entry names have the runtime's size");
    std::memcpy(data->name, found.name, sizeof(data->name));
}

}  // namespace

intptr_t PlatformFindFirst(const char* pattern, PlatformFindData* data) {
    if (!pattern || !data) return -1;
    _finddata_t found;
    intptr_t handle = _findfirst(pattern, &found);
    if (handle != -1) CopyEntry(found, data);
    return handle;
}

int PlatformFindNext(intptr_t handle, PlatformFindData* data) {
    if (handle == -1 || !data) return -1;
    _finddata_t found;
    if (_findnext(handle, &found) != 0) return -1;
    CopyEntry(found, data);
    return 0;
}

void PlatformFindClose(intptr_t handle) {
    if (handle != -1) _findclose(handle);
}
