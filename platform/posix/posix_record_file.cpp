// posix_record_file.cpp: the installation record of platform_system.h on POSIX, kept in a
// registry export file.
//
// The file is the one named by TLF_REGISTRY, else ${XDG_CONFIG_HOME:-$HOME/.config}/tallyfield/
// registry.reg. Reading never creates anything. Writing takes an exclusive advisory lock on
// "<file>.lock" (left in place afterwards: removing it would race with a waiting writer), reads
// the file again under the lock, writes the edited text to a temporary file beside it, flushes
// it to the disk and renames it over the file, so a reader sees the old or the new file and two
// writers never lose each other's values. The permissions of an existing file are kept.
// Left out: the 32- and 64-bit views (there is one file), and values other than text on writing.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/platform_system.h"
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

// The whole file; false when it cannot be opened (a missing file among others).
bool ReadWholeFile(const std::string& path, std::string* text) {
    FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return false;
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

// Writes `text` to a new file beside `path` and renames it over `path`.
bool ReplaceFileText(const std::string& path, const std::string& text) {
    struct stat old;
    bool existed = stat(path.c_str(), &old) == 0;
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
    size_t slash = path.find_last_of('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    int folderFd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
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
    std::string text, bytes;
    if (path.empty() || !ReadWholeFile(path, &text)) return false;
    if (!FindRecordValue(text, keyPath, valueName, &bytes)) return false;
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
    // Edit the file a link points to, not the link.
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved)) path = resolved;
    if (!MakeParentFolders(path)) return false;

    int lock = open((path + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (lock < 0) return false;
    while (flock(lock, LOCK_EX) != 0) {
        if (errno != EINTR) {
            close(lock);
            return false;
        }
    }
    std::string current, updated;
    bool ok = true;
    if (!ReadWholeFile(path, &current)) {
        current.clear();
        ok = errno == ENOENT;  // a file that exists but cannot be read is not replaced
    }
    ok = ok && SetRecordText(current, keyPath, valueName, text, &updated) && ReplaceFileText(path, updated);
    flock(lock, LOCK_UN);
    close(lock);
    return ok;
}
