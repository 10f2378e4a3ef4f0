// system_folder_handle.cpp: the folder held open of platform_system.h on Windows, for the update
// unit's kept folder. The folder is opened itself, never through a reparse point
// (FILE_FLAG_OPEN_REPARSE_POINT, and one found there is refused), with read access and a share
// mode without FILE_SHARE_DELETE: while the handle is held nobody can rename or remove the folder,
// so "<folder>\<name>" names the very folder that was opened, and no link can take its place.
// The read access matters: a handle with attribute access alone does not take part in sharing.
#include <windows.h>

#include <string>

#include "platform/platform_system.h"
#include "platform/win32/wide_path.h"

struct PlatformFolder {
    HANDLE handle;
    std::wstring path;  // with a trailing backslash
};

namespace {

bool PathIn(PlatformFolder* folder, const char* name, std::wstring* path) {
    std::wstring wideName;
    if (!folder || !name || !WidePath(name, &wideName)) return false;
    *path = folder->path + wideName;
    return true;
}

}  // namespace

PlatformFolder* PlatformOpenPlainFolder(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return nullptr;
    const HANDLE handle = CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return nullptr;
    BY_HANDLE_FILE_INFORMATION information;
    if (!GetFileInformationByHandle(handle, &information) || !(information.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ||
        (information.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        CloseHandle(handle);
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    if (wide.back() != L'\\' && wide.back() != L'/') wide += L'\\';
    return new PlatformFolder{handle, wide};
}

void PlatformCloseFolder(PlatformFolder* folder) {
    if (!folder) return;
    CloseHandle(folder->handle);
    delete folder;
}

int PlatformMoveIntoFolder(PlatformFolder* folder, const char* from, const char* name) {
    std::wstring wideFrom;
    std::wstring target;
    if (!from || !WidePath(from, &wideFrom) || !PathIn(folder, name, &target)) return -1;
    return MoveFileExW(wideFrom.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH) != 0 ? 0 : -1;
}

int PlatformMoveOutOfFolder(PlatformFolder* folder, const char* name, const char* to) {
    std::wstring source;
    std::wstring wideTo;
    if (!to || !WidePath(to, &wideTo) || !PathIn(folder, name, &source)) return -1;
    return MoveFileExW(source.c_str(), wideTo.c_str(), MOVEFILE_WRITE_THROUGH) != 0 ? 0 : -1;
}

int PlatformCreateNewFileIn(PlatformFolder* folder, const char* name) {
    std::wstring path;
    if (!PathIn(folder, name, &path)) return -1;
    // CREATE_NEW: never an existing file, and never one reached through a link at that name.
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    return CloseHandle(file) ? 0 : -1;
}

int PlatformRemoveFileIn(PlatformFolder* folder, const char* name) {
    std::wstring path;
    if (!PathIn(folder, name, &path)) return -1;
    if (DeleteFileW(path.c_str())) return 0;
    // A read-only file refuses deletion until its attribute is cleared; a link keeps its own.
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (error != ERROR_ACCESS_DENIED || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_READONLY) ||
        (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
        SetLastError(error);
        return -1;
    }
    const DWORD writable = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    return SetFileAttributesW(path.c_str(), writable) && DeleteFileW(path.c_str()) ? 0 : -1;
}

PlatformPathKind PlatformPathKindIn(PlatformFolder* folder, const char* name) {
    std::wstring path;
    if (!PathIn(folder, name, &path)) return PlatformPathKind::Other;
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PlatformPathKind::Missing : PlatformPathKind::Other;
    }
    const DWORD notAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    return (attributes & notAFile) != 0 ? PlatformPathKind::Other : PlatformPathKind::RegularFile;
}

// The moves are written through (MOVEFILE_WRITE_THROUGH); nothing is left to flush.
void PlatformSyncHeldFolder(PlatformFolder*) {}
