// system_folders.cpp: the folder functions and the folder listing of platform_system.h on
// Windows, over the C runtime's and kernel32's wide-character calls (_wgetcwd, _wmkdir,
// _wfindfirst). Names go in and come out as UTF-8 (wide_path.h); an entry whose name does not fit
// PlatformFindData in UTF-8 is passed over rather than cut to a different name.
// The runtime's find record may carry 64-bit times; they are cut to the 32 bits of
// PlatformFindData, as _findfirst32 would give them.
#include <windows.h>

#include <direct.h>
#include <io.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_system.h"
#include "platform/win32/wide_path.h"

bool PlatformGetCurrentFolder(char* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    wchar_t* wide = _wgetcwd(nullptr, 0);
    if (!wide) return false;
    std::string utf8;
    const bool converted = NarrowPath(wide, &utf8);
    std::free(wide);
    if (!converted || utf8.size() + 1 > size) return false;
    std::memcpy(buffer, utf8.c_str(), utf8.size() + 1);
    return true;
}

int PlatformMakeFolder(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return -1;
    return _wmkdir(wide.c_str()) == 0 ? 0 : -1;
}

namespace {

DWORD AttributesOf(const char* path) {
    std::wstring wide;
    if (!path || !*path || !WidePath(path, &wide)) return INVALID_FILE_ATTRIBUTES;
    return GetFileAttributesW(wide.c_str());
}

}  // namespace

bool PlatformIsFolder(const char* path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool PlatformIsPlainFolder(const char* path) {
    const DWORD attributes = AttributesOf(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0;
}

int PlatformRemoveFolder(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return -1;
    return RemoveDirectoryW(wide.c_str()) != 0 ? 0 : -1;
}

void PlatformSyncFolder(const char*) {}

unsigned PlatformLogicalDriveStrings(char* buffer, unsigned size) {
    if (!buffer || size == 0) return 0;
    // Drive strings are ASCII ("C:\"), the same in UTF-8.
    DWORD length = GetLogicalDriveStringsA(size, buffer);
    // A result of size or more is the size that would have been needed: nothing usable was written.
    return length >= size ? 0 : length;
}

namespace {

// False when the name does not convert or does not fit: the caller moves on to the next entry.
bool CopyEntry(const _wfinddata_t& found, PlatformFindData* data) {
    std::string name;
    if (!NarrowPath(found.name, &name) || name.size() + 1 > sizeof(data->name)) return false;
    data->attrib = found.attrib;
    data->timeCreate = static_cast<int32_t>(found.time_create);
    data->timeAccess = static_cast<int32_t>(found.time_access);
    data->timeWrite = static_cast<int32_t>(found.time_write);
    data->size = static_cast<uint32_t>(found.size);
    std::memcpy(data->name, name.c_str(), name.size() + 1);
    return true;
}

}  // namespace

int PlatformFindNext(intptr_t handle, PlatformFindData* data) {
    if (handle == -1 || !data) return -1;
    _wfinddata_t found;
    do {
        if (_wfindnext(handle, &found) != 0) return -1;
    } while (!CopyEntry(found, data));
    return 0;
}

intptr_t PlatformFindFirst(const char* pattern, PlatformFindData* data) {
    std::wstring wide;
    if (!pattern || !data || !WidePath(pattern, &wide)) return -1;
    _wfinddata_t found;
    intptr_t handle = _wfindfirst(wide.c_str(), &found);
    if (handle == -1 || CopyEntry(found, data) || PlatformFindNext(handle, data) == 0) return handle;
    _findclose(handle);
    return -1;
}

void PlatformFindClose(intptr_t handle) {
    if (handle != -1) _findclose(handle);
}
