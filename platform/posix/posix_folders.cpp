// posix_folders.cpp: the folder functions and the folder listing of platform_system.h on POSIX.
//
// Linux has one drive, "/". A listing reads the whole folder when it starts (so entries deleted
// while it runs are still reported, and entries added are not), sorts the names in byte order,
// and reports "." and ".." like any other entry, as Windows does. Attributes: folder, and
// read-only when the owner may not write. Times and sizes are cut to 32 bits as in _finddata32_t.
// Left out: hidden and system attributes, creation time (the status change time stands in).
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform_system.h"
#include "platform/posix/posix_path_map.h"
#include "platform/posix/posix_wildcard.h"

bool PlatformGetCurrentFolder(char* buffer, size_t size) {
    if (!buffer || size == 0) return false;
    return getcwd(buffer, size) != nullptr;
}

int PlatformMakeFolder(const char* path) {
    if (!path) return -1;
    return mkdir(MapToNativePath(path).c_str(), 0777) == 0 ? 0 : -1;
}

bool PlatformIsFolder(const char* path) {
    if (!path || !*path) return false;
    struct stat info;
    return stat(MapToNativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformIsPlainFolder(const char* path) {
    if (!path || !*path) return false;
    struct stat info;
    return lstat(MapToNativePath(path).c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int PlatformRemoveFolder(const char* path) {
    if (!path) return -1;
    return rmdir(MapToNativePath(path).c_str()) == 0 ? 0 : -1;
}

unsigned PlatformLogicalDriveStrings(char* buffer, unsigned size) {
    // "/" NUL NUL, as GetLogicalDriveStringsA lists its drives.
    if (!buffer || size < 3) return 0;
    buffer[0] = '/';
    buffer[1] = 0;
    buffer[2] = 0;
    return 2;
}

namespace {

struct Listing {
    std::vector<PlatformFindData> entries;
    size_t next = 0;
};

void FillEntry(const std::string& folder, const char* name, PlatformFindData* data) {
    std::memset(data, 0, sizeof(*data));
    std::strcpy(data->name, name);
    std::string path = folder + "/" + name;
    struct stat info;
    if (stat(path.c_str(), &info) != 0 && lstat(path.c_str(), &info) != 0) return;
    if (S_ISDIR(info.st_mode)) data->attrib |= PlatformAttributeFolder;
    if (!(info.st_mode & S_IWUSR)) data->attrib |= PlatformAttributeReadOnly;
    data->timeCreate = static_cast<int32_t>(info.st_ctime);
    data->timeAccess = static_cast<int32_t>(info.st_atime);
    data->timeWrite = static_cast<int32_t>(info.st_mtime);
    data->size = info.st_size > 0xFFFFFFFFll ? 0xFFFFFFFFu : static_cast<uint32_t>(info.st_size);
}

}  // namespace

intptr_t PlatformFindFirst(const char* pattern, PlatformFindData* data) {
    if (!pattern || !data) return -1;
    std::string text = pattern;
    size_t cut = text.find_last_of("\\/");
    std::string folderText = cut == std::string::npos ? "." : text.substr(0, cut + 1);
    std::string namePattern = cut == std::string::npos ? text : text.substr(cut + 1);
    std::string folder = MapToNativePath(folderText.c_str());
    if (folder.empty()) folder = ".";

    DIR* dir = opendir(folder.c_str());
    if (!dir) return -1;
    std::vector<std::string> names;
    while (dirent* entry = readdir(dir)) {
        if (std::strlen(entry->d_name) < sizeof(data->name) && MatchesWildcard(namePattern.c_str(), entry->d_name))
            names.push_back(entry->d_name);
    }
    closedir(dir);
    if (names.empty()) return -1;
    std::sort(names.begin(), names.end());

    Listing* listing = new Listing;
    listing->entries.resize(names.size());
    for (size_t i = 0; i < names.size(); ++i) FillEntry(folder, names[i].c_str(), &listing->entries[i]);
    *data = listing->entries[0];
    listing->next = 1;
    return reinterpret_cast<intptr_t>(listing);
}

int PlatformFindNext(intptr_t handle, PlatformFindData* data) {
    if (handle == -1 || handle == 0 || !data) return -1;
    Listing* listing = reinterpret_cast<Listing*>(handle);
    if (listing->next >= listing->entries.size()) return -1;
    *data = listing->entries[listing->next++];
    return 0;
}

void PlatformFindClose(intptr_t handle) {
    if (handle == -1 || handle == 0) return;
    delete reinterpret_cast<Listing*>(handle);
}
