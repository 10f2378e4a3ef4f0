// posix_files.cpp: the file functions of platform_system.h on Linux and other POSIX systems.
//
// Every path is mapped first (posix_path_map.h). Removal works on files only and renaming never
// replaces an existing target, as on Windows; the read-only attribute is the owner's write
// permission. No mode change, removal or rename follows a link: a link is changed as itself.
// Opening for reading takes regular files only (never waits on a FIFO). Left out: Windows share
// modes (an open file can be deleted here).
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform_system.h"
#include "platform/posix/posix_path_map.h"

namespace {

std::string FolderOf(const std::string& nativePath) {
    size_t slash = nativePath.find_last_of('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return nativePath.substr(0, slash);
}

// Makes a rename or a new file in `folder` survive a power cut; failures are not fatal.
void SyncFolder(const std::string& folder) {
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

FILE* PlatformOpenFile(const char* path, const char* mode) {
    if (!path || !mode) return nullptr;
    const std::string native = MapToNativePath(path);
    if (mode[0] != 'r' || std::strchr(mode, '+') != nullptr) return std::fopen(native.c_str(), mode);
    // Read only: regular files alone. Anything else is not opened at all; what takes a regular
    // file's place between the look and the open is opened without waiting (a FIFO would block
    // until a writer came) and refused.
    struct stat info;
    if (stat(native.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return nullptr;
    }
    const int fd = open(native.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return nullptr;
    FILE* file = nullptr;
    if (fstat(fd, &info) != 0) {
        // errno says why
    } else if (!S_ISREG(info.st_mode)) {
        errno = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
    } else if (fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK) == 0) {
        file = fdopen(fd, mode);
    }
    if (file == nullptr) {
        const int error = errno;
        close(fd);
        errno = error;
    }
    return file;
}

int PlatformMakeWritable(const char* path) {
    if (!path) return -1;
    std::string native = MapToNativePath(path);
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) return -1;
    // A link's own mode means nothing here (removing or renaming it needs none), and the file it
    // names may lie anywhere: it is left alone. The change itself does not follow a link either,
    // should one take the file's place in between.
    if (S_ISLNK(info.st_mode)) return 0;
    return fchmodat(AT_FDCWD, native.c_str(), (info.st_mode & 07777) | S_IRUSR | S_IWUSR, AT_SYMLINK_NOFOLLOW) == 0 ? 0 : -1;
}

int PlatformRemoveFile(const char* path) {
    if (!path) return -1;
    // unlink, not remove: remove would also delete an empty folder, which Windows never does.
    return unlink(MapToNativePath(path).c_str()) == 0 ? 0 : -1;
}

int PlatformRenameFile(const char* from, const char* to) {
    if (!from || !to) return -1;
    std::string source = MapToNativePath(from);
    std::string target = MapToNativePath(to);
#ifdef SYS_renameat2
    // RENAME_NOREPLACE (1): fail when the target exists, in one step.
    if (syscall(SYS_renameat2, AT_FDCWD, source.c_str(), AT_FDCWD, target.c_str(), 1u) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
    struct stat info;
    if (lstat(target.c_str(), &info) == 0) return -1;
    return std::rename(source.c_str(), target.c_str()) == 0 ? 0 : -1;
}

int PlatformCreateNewFile(const char* path) {
    if (!path) return -1;
    int fd = open(MapToNativePath(path).c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    return close(fd) == 0 ? 0 : -1;
}

FILE* PlatformCreateTempFileBeside(const char* target, char* tempPath, size_t tempPathSize) {
    if (!target || !tempPath || tempPathSize == 0) return nullptr;
    static std::atomic<unsigned> counter{0};
    std::string folder = FolderOf(MapToNativePath(target));
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string path = folder + "/~tlf" + std::to_string(getpid()) + "-" + std::to_string(counter++) + ".tmp";
        if (path.size() + 1 > tempPathSize) {
            errno = ENAMETOOLONG;
            return nullptr;
        }
        int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            return nullptr;
        }
        FILE* file = fdopen(fd, "wb");
        if (!file) {
            close(fd);
            unlink(path.c_str());
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
    return fsync(fileno(file)) == 0;
}

bool PlatformSyncPath(const char* path) {
    if (!path) return false;
    int fd = open(MapToNativePath(path).c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = fsync(fd) == 0;
    close(fd);
    return synced;
}

FILE* PlatformFlushHandleOf(FILE* file) {
    if (!file) return nullptr;
    const int copy = fcntl(fileno(file), F_DUPFD_CLOEXEC, 0);
    if (copy < 0) return nullptr;
    // "w" only matches the access of the files written here; fdopen never truncates.
    FILE* handle = fdopen(copy, "wb");
    if (!handle) close(copy);
    return handle;
}

void PlatformStartWriteBack(FILE* file, int64_t offset, int64_t length) {
    if (!file || offset < 0 || length <= 0) return;
#ifdef SYNC_FILE_RANGE_WRITE
    // Starts the write-out of the range and returns; failure (a file system without it) only
    // leaves the work to the fsync at the end.
    sync_file_range(fileno(file), static_cast<off_t>(offset), static_cast<off_t>(length), SYNC_FILE_RANGE_WRITE);
#endif
}

void PlatformForgetCachedFile(const char* path) {
    if (!path) return;
    const int fd = open(MapToNativePath(path).c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat info;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED);
    close(fd);
}

bool PlatformReplaceFile(const char* source, const char* target) {
    if (!source || !target) return false;
    std::string from = MapToNativePath(source);
    std::string to = MapToNativePath(target);
    // A read-only target does not stop rename here, but the contract makes it writable first
    // on every system, so a failed replace leaves it in the same state everywhere. A link is
    // replaced as itself, never changed through.
    struct stat info;
    if (lstat(to.c_str(), &info) == 0 && S_ISREG(info.st_mode) && !(info.st_mode & S_IWUSR))
        fchmodat(AT_FDCWD, to.c_str(), (info.st_mode & 07777) | S_IWUSR, AT_SYMLINK_NOFOLLOW);
    if (std::rename(from.c_str(), to.c_str()) != 0) return false;
    SyncFolder(FolderOf(to));
    return true;
}

void PlatformSyncFolder(const char* path) {
    if (path) SyncFolder(MapToNativePath(path));
}

PlatformPathKind PlatformPathKindOf(const char* path) {
    if (!path) return PlatformPathKind::Other;
    struct stat info;
    if (lstat(MapToNativePath(path).c_str(), &info) != 0) return errno == ENOENT ? PlatformPathKind::Missing : PlatformPathKind::Other;
    return S_ISREG(info.st_mode) ? PlatformPathKind::RegularFile : PlatformPathKind::Other;
}

bool PlatformTakeOwnerAndMode(FILE* file, const char* model) {
    if (!file || !model) return false;
    const int fd = fileno(file);
    struct stat own;
    if (fd < 0 || fstat(fd, &own) != 0) return false;
    const std::string native = MapToNativePath(model);
    struct stat info;
    if (lstat(native.c_str(), &info) != 0) {
        if (errno != ENOENT) return false;
        // A new file: what the folder's owner would have made, when root makes it for them.
        if (geteuid() != 0) return true;
        if (stat(FolderOf(native).c_str(), &info) != 0) return false;
        return (info.st_uid == own.st_uid && info.st_gid == own.st_gid) || fchown(fd, info.st_uid, info.st_gid) == 0;
    }
    if (!S_ISREG(info.st_mode)) return false;
    // The owner first: a change of owner clears the set-user and set-group bits, which the mode
    // then puts back.
    const bool owned = (info.st_uid == own.st_uid && info.st_gid == own.st_gid) || fchown(fd, info.st_uid, info.st_gid) == 0;
    return owned && fchmod(fd, info.st_mode & 07777) == 0;
}

int64_t PlatformFileSize(FILE* file) {
    if (!file) return -1;
    off_t position = ftello(file);
    if (position < 0 || fseeko(file, 0, SEEK_END) != 0) return -1;
    off_t size = ftello(file);
    if (fseeko(file, position, SEEK_SET) != 0) return -1;
    return size < 0 ? -1 : static_cast<int64_t>(size);
}

bool PlatformStandardErrorIsTerminal() { return isatty(STDERR_FILENO) == 1; }

void PlatformUseParentConsole() {}  // a process here always has the standard error it was given

WriteFailureReason PlatformLastWriteFailure() { return WriteFailureFromErrno(errno); }

int64_t PlatformFreeSpace(const char* folder) {
    if (!folder) return -1;
    struct statvfs info;
    // A file system that reports no blocks at all (some network and virtual ones) tells nothing.
    if (statvfs(MapToNativePath(folder).c_str(), &info) != 0 || info.f_blocks == 0) return -1;
    return static_cast<int64_t>(info.f_bavail) * static_cast<int64_t>(info.f_frsize);
}
