// posix_folder_handle.cpp: the folder held open of platform_system.h on POSIX, for the update
// unit's kept folder. The folder is one descriptor, opened with O_DIRECTORY | O_NOFOLLOW; every
// name in it is reached with the *at calls relative to that descriptor, so that a link put where
// the folder was (or the folder renamed away) never redirects a rename, a new file or a removal.
// A folder removed while held takes nothing more: the calls then fail with ENOENT.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform_system.h"
#include "platform/posix/posix_path_map.h"

struct PlatformFolder {
    int fd;
};

namespace {

// renameat that never replaces its target, as PlatformRenameFile (Windows renames so).
int RenameNoReplace(int fromFolder, const char* from, int toFolder, const char* to) {
#ifdef SYS_renameat2
    // RENAME_NOREPLACE (1): fail when the target exists, in one step.
    if (syscall(SYS_renameat2, fromFolder, from, toFolder, to, 1u) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
#endif
    struct stat info;
    if (fstatat(toFolder, to, &info, AT_SYMLINK_NOFOLLOW) == 0) {
        errno = EEXIST;
        return -1;
    }
    return renameat(fromFolder, from, toFolder, to) == 0 ? 0 : -1;
}

}  // namespace

PlatformFolder* PlatformOpenPlainFolder(const char* path) {
    if (!path) return nullptr;
    // O_NOFOLLOW fails on a link at the last component (ELOOP); O_DIRECTORY on anything else.
    const int fd = open(MapToNativePath(path).c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) return nullptr;
    return new PlatformFolder{fd};
}

void PlatformCloseFolder(PlatformFolder* folder) {
    if (!folder) return;
    close(folder->fd);
    delete folder;
}

int PlatformMoveIntoFolder(PlatformFolder* folder, const char* from, const char* name) {
    if (!folder || !from || !name) return -1;
    return RenameNoReplace(AT_FDCWD, MapToNativePath(from).c_str(), folder->fd, name);
}

int PlatformMoveOutOfFolder(PlatformFolder* folder, const char* name, const char* to) {
    if (!folder || !name || !to) return -1;
    return RenameNoReplace(folder->fd, name, AT_FDCWD, MapToNativePath(to).c_str());
}

int PlatformCreateNewFileIn(PlatformFolder* folder, const char* name) {
    if (!folder || !name) return -1;
    const int fd = openat(folder->fd, name, O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    return close(fd) == 0 ? 0 : -1;
}

int PlatformRemoveFileIn(PlatformFolder* folder, const char* name) {
    if (!folder || !name) return -1;
    return unlinkat(folder->fd, name, 0) == 0 ? 0 : -1;
}

PlatformPathKind PlatformPathKindIn(PlatformFolder* folder, const char* name) {
    if (!folder || !name) return PlatformPathKind::Other;
    struct stat info;
    if (fstatat(folder->fd, name, &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno == ENOENT ? PlatformPathKind::Missing : PlatformPathKind::Other;
    return S_ISREG(info.st_mode) ? PlatformPathKind::RegularFile : PlatformPathKind::Other;
}

void PlatformSyncHeldFolder(PlatformFolder* folder) {
    if (folder) fsync(folder->fd);
}
