// posix_record_file.cpp: the installation record of platform_system.h on POSIX, kept in a
// registry export file.
//
// The file is the one named by TLF_REGISTRY, else ${XDG_CONFIG_HOME:-$HOME/.config}/tallyfield/
// registry.reg. Reading never creates anything. Writing takes the lock of posix_record_lock.h
// (waiting a few seconds at most for another writer), reads the file again under the lock, writes
// the edited text to a temporary file beside it ("<file>.~tlf<process id>-<n>.tmp"), flushes it
// to the disk and renames it over the file, so a reader sees the old or the new file and two
// writers never lose each other's values. The permissions of an existing file are kept. Such
// temporary files of runs that died are removed by the next write; those of live processes stay.
// The file is never reached through a link: a record path that is a link, a folder, a FIFO or a
// device is no record for reading, and writing fails without touching it.
// The file may be 8-bit or UTF-16 (posix_record_encoding.h); values are read as UTF-8 from a
// UTF-16 file, and a rewrite keeps the file's encoding. A damaged UTF-16 file is no record and
// is not rewritten; a text that cannot be encoded fails the write with the file as it was.
// The 32- and 64-bit views are one file; an export of 64-bit Windows, which holds the game's key
// under "Software\WOW6432Node", is read and written there (RecordKeyInFile). Left out: values
// other than text on writing.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_system.h"
#include "platform/posix/posix_record_encoding.h"
#include "platform/posix/posix_record_lock.h"
#include "platform/posix/posix_record_text.h"

namespace {

std::string RecordFilePath() {
    const char* named = std::getenv("TLF_REGISTRY");
    if (named && *named) return named;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (config && *config) {
        folder = config;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) return std::string();
        folder = std::string(home) + "/.config";
    }
    return folder + "/tallyfield/registry.reg";
}

// The whole file; false when it cannot be opened (a missing file among others, errno ENOENT) or
// is no regular file (a link ELOOP, anything else EINVAL). Opened without waiting, so that a FIFO
// never blocks; looked at first, so that a device is never opened.
bool ReadWholeFile(const std::string& path, std::string* text) {
    struct stat info;
    if (lstat(path.c_str(), &info) != 0) return false;
    if (!S_ISREG(info.st_mode)) {
        errno = S_ISLNK(info.st_mode) ? ELOOP : EINVAL;
        return false;
    }
    const int fd = open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return false;
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {  // swapped since it was looked at
        close(fd);
        errno = EINVAL;
        return false;
    }
    FILE* file = fdopen(fd, "rb");
    if (!file) {
        close(fd);
        return false;
    }
    text->clear();
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof(chunk), file)) > 0) text->append(chunk, got);
    bool ok = !std::ferror(file);
    std::fclose(file);
    return ok;
}

// Creates the folders of `path` that are missing (mkdir -p of its parent).
bool MakeParentFolders(const std::string& path) {
    for (size_t slash = path.find('/', 1); slash != std::string::npos; slash = path.find('/', slash + 1)) {
        std::string folder = path.substr(0, slash);
        if (mkdir(folder.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    return true;
}

bool WriteAll(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        ssize_t wrote = write(fd, text.data() + done, text.size() - done);
        if (wrote < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        done += static_cast<size_t>(wrote);
    }
    return true;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
}

// The process id in the name of a temporary file ReplaceFileText made beside the record named
// `recordName`: "<recordName>.~tlf<digits>-<digits>.tmp", the game's leftover pattern
// (package/leftover_files.h) behind the record's name. False for any other name.
bool RecordTemporaryOwner(const std::string& name, const std::string& recordName, uint32_t* processId) {
    const std::string prefix = recordName + ".~tlf";
    if (name.size() <= prefix.size() || name.compare(0, prefix.size(), prefix) != 0) return false;
    const char* p = name.c_str() + prefix.size();
    uint64_t id = 0;
    const char* digits = p;
    for (; std::isdigit(static_cast<unsigned char>(*p)) && id <= 0xFFFFFFFFu; ++p) id = id * 10 + static_cast<uint64_t>(*p - '0');
    if (p == digits || id > 0xFFFFFFFFu || *p++ != '-' || !std::isdigit(static_cast<unsigned char>(*p))) return false;
    while (std::isdigit(static_cast<unsigned char>(*p))) ++p;
    *processId = static_cast<uint32_t>(id);
    return std::strcmp(p, ".tmp") == 0;
}

// Removes the temporary files beside the record at `path` that runs which died left behind;
// never one of a process that still runs (it may be writing now), nor anything but a regular
// file. Called under the lock.
void RemoveDeadTemporaries(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const std::string recordName = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* listing = opendir(FolderOf(path).c_str());
    if (!listing) return;
    const uint32_t self = PlatformProcessId();
    while (const dirent* entry = readdir(listing)) {
        uint32_t owner = 0;
        if (!RecordTemporaryOwner(entry->d_name, recordName, &owner) || owner == self || PlatformProcessIsAlive(owner)) continue;
        struct stat info;
        if (fstatat(dirfd(listing), entry->d_name, &info, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(info.st_mode))
            unlinkat(dirfd(listing), entry->d_name, 0);
    }
    closedir(listing);
}

// Writes `text` to a new file beside `path` and renames it over `path`, which is missing or a
// regular file (ReadWholeFile has looked).
bool ReplaceFileText(const std::string& path, const std::string& text) {
    struct stat old;
    bool existed = lstat(path.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode)) return false;
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = path + ".~tlf" + std::to_string(getpid()) + "-" + std::to_string(attempt) + ".tmp";
        fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd < 0 && errno != EEXIST) return false;
    }
    if (fd < 0) return false;
    bool ok = WriteAll(fd, text) && (!existed || fchmod(fd, old.st_mode & 07777) == 0) && fsync(fd) == 0;
    ok = close(fd) == 0 && ok;
    if (ok) ok = std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(temp.c_str());
        return false;
    }
    int folderFd = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folderFd >= 0) {
        fsync(folderFd);
        close(folderFd);
    }
    return true;
}

}  // namespace

bool PlatformRecordRead(const char* keyPath, const char* valueName, char* buffer, uint32_t size) {
    if (!keyPath || !valueName || !buffer || size == 0) return false;
    std::string path = RecordFilePath();
    std::string file, text, bytes;
    RecordEncoding encoding;
    if (path.empty() || !ReadWholeFile(path, &file) || !DecodeRecordFile(file, &encoding, &text)) return false;
    if (!FindRecordValue(text, RecordKeyInFile(text, keyPath), valueName, &bytes)) return false;
    // The caller uses the buffer as a zero-terminated text: it must hold all of the value and
    // end with a zero byte inside the buffer.
    if (bytes.size() > size) return false;
    std::memcpy(buffer, bytes.data(), bytes.size());
    if (bytes.empty() || bytes.back() != '\0') {
        if (bytes.size() >= size) return false;
        buffer[bytes.size()] = '\0';
    }
    return true;
}

bool PlatformRecordWrite(const char* keyPath, const char* valueName, const char* text) {
    if (!keyPath || !valueName || !text) return false;
    std::string path = RecordFilePath();
    if (path.empty()) return false;
    if (!MakeParentFolders(path)) return false;
    const int lock = LockRecordFile(path);
    if (lock < 0) return false;
    RemoveDeadTemporaries(path);
    std::string file, current, updated;
    RecordEncoding encoding = RecordEncoding::Bytes;  // a new file is 8-bit
    bool ok = true;
    if (!ReadWholeFile(path, &file)) {
        ok = errno == ENOENT;  // a file that exists but cannot be read is not replaced
    } else if (!DecodeRecordFile(file, &encoding, &current)) {
        ok = false;  // nor is a damaged one
        errno = EILSEQ;
    }
    ok = ok && SetRecordText(current, RecordKeyInFile(current, keyPath), valueName, text, &updated, RecordLineStyleOf(encoding));
    if (ok && !EncodeRecordFile(encoding, updated, &file)) {
        ok = false;
        errno = EILSEQ;
    }
    ok = ok && ReplaceFileText(path, file);
    UnlockRecordFile(lock);
    return ok;
}

bool PlatformRecordName(const char* keyPath, char* buffer, size_t size) {
    if (!keyPath || !buffer || size == 0) return false;
    const std::string path = RecordFilePath();
    if (path.empty() || path.size() >= size) return false;
    std::memcpy(buffer, path.c_str(), path.size() + 1);
    return true;
}
