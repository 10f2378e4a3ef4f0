// system_files.cpp: the file functions of platform_system.h on Windows, over the C runtime's and
// kernel32's wide-character calls. The program's UTF-8 paths are converted exactly (wide_path.h);
// Windows itself compares names without regard to case.
#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform_system.h"
#include "platform/win32/wide_path.h"

FILE* PlatformOpenFile(const char* path, const char* mode) {
    std::wstring widePath;
    std::wstring wideMode;
    if (!path || !mode || !WidePath(path, &widePath) || !WidePath(mode, &wideMode)) return nullptr;
    return _wfopen(widePath.c_str(), wideMode.c_str());
}

int PlatformMakeWritable(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return -1;
    // A symbolic link or junction is left as it is (its attributes are its own, read unfollowed).
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT)) return 0;
    return _wchmod(wide.c_str(), _S_IREAD | _S_IWRITE) == 0 ? 0 : -1;
}

int PlatformRemoveFile(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return -1;
    return _wremove(wide.c_str()) == 0 ? 0 : -1;
}

int PlatformRenameFile(const char* from, const char* to) {
    std::wstring wideFrom;
    std::wstring wideTo;
    if (!from || !to || !WidePath(from, &wideFrom) || !WidePath(to, &wideTo)) return -1;
    return _wrename(wideFrom.c_str(), wideTo.c_str()) == 0 ? 0 : -1;
}

int PlatformCreateNewFile(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return -1;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;
    return CloseHandle(file) ? 0 : -1;
}

FILE* PlatformCreateTempFileBeside(const char* target, char* tempPath, size_t tempPathSize) {
    if (!target || !tempPath || tempPathSize == 0) return nullptr;
    static std::atomic<unsigned> counter{0};
    std::string text = target;
    size_t cut = text.find_last_of("\\/");
    std::string folder = cut == std::string::npos ? std::string() : text.substr(0, cut + 1);
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path =
            folder + "~tlf" + std::to_string(_getpid()) + "-" + std::to_string(counter++) + ".tmp";
        if (path.size() + 1 > tempPathSize) {
            errno = ENAMETOOLONG;
            return nullptr;
        }
        std::wstring wide;
        if (!WidePath(path.c_str(), &wide)) return nullptr;
        // CREATE_NEW: never an existing file, and never one reached through a link at that name.
        HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            DWORD error = GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            return nullptr;
        }
        int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY | _O_WRONLY);
        if (fd == -1) {
            CloseHandle(handle);
            DeleteFileW(wide.c_str());
            return nullptr;
        }
        FILE* file = _fdopen(fd, "wb");
        if (!file) {
            _close(fd);
            DeleteFileW(wide.c_str());
            return nullptr;
        }
        std::memcpy(tempPath, path.c_str(), path.size() + 1);
        return file;
    }
    return nullptr;
}

bool PlatformSyncFile(FILE* file) {
    if (!file) return false;
    if (std::fflush(file) != 0) return false;
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    return handle != INVALID_HANDLE_VALUE && FlushFileBuffers(handle) != 0;
}

// Windows has no call that starts write-back of a range without waiting; FlushFileBuffers at the
// end of the copy does all of it.
bool PlatformSyncPath(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return false;
    HANDLE file = CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const bool synced = FlushFileBuffers(file) != 0;
    CloseHandle(file);
    return synced;
}

void PlatformStartWriteBack(FILE*, int64_t, int64_t) {}

// The temporary files are opened without sharing (PlatformCreateTempFileBeside): a second handle
// would keep them from being renamed into place, so the early flushes use the caller's own.
FILE* PlatformFlushHandleOf(FILE*) { return nullptr; }

void PlatformForgetCachedFile(const char*) {}

namespace {

// A target held open by another program without sharing (a virus scanner, the game itself) often
// lets go within moments, so the replacement is tried a few times; all the tries together stay
// short enough that the window, which is not pumped meanwhile, never looks frozen. Any other
// refusal ends at once.
constexpr int kReplaceAttempts = 8;
constexpr DWORD kReplacePauseMilliseconds = 25;

bool TargetIsHeldOpen(DWORD error) {
    return error == ERROR_SHARING_VIOLATION || error == ERROR_LOCK_VIOLATION || error == ERROR_ACCESS_DENIED;
}

}  // namespace

bool PlatformReplaceFile(const char* source, const char* target) {
    std::wstring wideSource;
    std::wstring wideTarget;
    if (!source || !target || !WidePath(source, &wideSource) || !WidePath(target, &wideTarget)) return false;
    DWORD attributes = GetFileAttributesW(wideTarget.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        SetFileAttributesW(wideTarget.c_str(), attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    for (int attempt = 1;; ++attempt) {
        if (MoveFileExW(wideSource.c_str(), wideTarget.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0) return true;
        if (attempt == kReplaceAttempts || !TargetIsHeldOpen(GetLastError())) return false;
        Sleep(kReplacePauseMilliseconds);
    }
}

PlatformPathKind PlatformPathKindOf(const char* path) {
    std::wstring wide;
    if (!path || !WidePath(path, &wide)) return PlatformPathKind::Other;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? PlatformPathKind::Missing : PlatformPathKind::Other;
    }
    // A reparse point is a link or a junction.
    const DWORD notAFile = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DEVICE;
    return (attributes & notAFile) != 0 ? PlatformPathKind::Other : PlatformPathKind::RegularFile;
}

// A file created in a folder takes the permissions the folder passes on, which is what the
// game's files have; there is no owner to give.
bool PlatformTakeOwnerAndMode(FILE*, const char*) { return true; }

int64_t PlatformFileSize(FILE* file) {
    if (!file) return -1;
    __int64 position = _ftelli64(file);
    if (position < 0 || _fseeki64(file, 0, SEEK_END) != 0) return -1;
    __int64 size = _ftelli64(file);
    if (_fseeki64(file, position, SEEK_SET) != 0) return -1;
    return size < 0 ? -1 : static_cast<int64_t>(size);
}

bool PlatformStandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

void PlatformUseParentConsole() {
    // A handle that was redirected (to a file, a pipe or a console already) is kept as it is.
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (error != nullptr && error != INVALID_HANDLE_VALUE && GetFileType(error) != FILE_TYPE_UNKNOWN) return;
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;  // started by a program without a console
    const HANDLE console = CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return;
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(console), _O_TEXT);
    if (descriptor < 0) {
        CloseHandle(console);
        return;
    }
    if (_dup2(descriptor, 2) == 0) {
        // The runtime gives a windowed program started without standard handles a stderr with no
        // descriptor, which freopen refuses; pointed at 2 it writes to the console from now on.
        if (_fileno(stderr) < 0) stderr->_file = 2;
        SetStdHandle(STD_ERROR_HANDLE, reinterpret_cast<HANDLE>(_get_osfhandle(2)));
    }
    _close(descriptor);
}

// The C runtime's failures set errno (its own mapping of the system error); the kernel32 calls
// of this file set only the system error, and the caller cleared errno before the call.
WriteFailureReason PlatformLastWriteFailure() {
    if (errno != 0) return WriteFailureFromErrno(errno);
    return WriteFailureFromWindowsError(GetLastError());
}

int64_t PlatformFreeSpace(const char* folder) {
    std::wstring wide;
    if (!folder || !WidePath(folder, &wide)) return -1;
    ULARGE_INTEGER available;
    ULARGE_INTEGER total;
    // A disk that reports no size at all (some network shares) tells nothing.
    if (GetDiskFreeSpaceExW(wide.c_str(), &available, &total, nullptr) == 0 || total.QuadPart == 0) return -1;
    return available.QuadPart > 0x7FFFFFFFFFFFFFFFull ? INT64_MAX : static_cast<int64_t>(available.QuadPart);
}
