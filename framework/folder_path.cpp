// folder_path.cpp: FolderPath (see folder_path.h), over the folder services of
// platform/platform_system.h.
//
// Drive strings are read as the NUL-separated list GetLogicalDriveStringsA gives: on Windows
// each entry is "X:\" as the fixed 4-character stride assumes, and on Linux the one entry is "/".
#include "framework/folder_path.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

#include "platform/platform_system.h"

struct FolderPathState {
    PlatformFindData found;    // the entry the listing stands on
    intptr_t listingHandle;    // -1 when no listing is open
    int32_t listingKind;       // a FolderListingKind
    char path[FolderPathCapacity];
    char listedName[sizeof(PlatformFindData::name)];
};

namespace {

enum : unsigned { DriveStringsCapacity = 110 };

char gDriveStrings[DriveStringsCapacity];
char gFullPath[FolderPathCapacity];

bool CopyIfFits(char* buffer, unsigned size, const char* text) {
    size_t length = std::strlen(text);
    if (length + 1 > size) return false;
    std::memcpy(buffer, text, length + 1);
    return true;
}

// Fills `buffer` with the drive strings; the number of bytes in use, 0 on failure.
unsigned FetchDriveStrings(char* buffer) {
    std::memset(buffer, 0, DriveStringsCapacity);
    unsigned length = PlatformLogicalDriveStrings(buffer, DriveStringsCapacity);
    if (length == 0 || length >= DriveStringsCapacity) return 0;
    return length;
}

// The drive entry with the given index inside fetched drive strings, or null.
const char* DriveEntry(const char* strings, unsigned length, int index) {
    if (index < 0) return nullptr;
    unsigned position = 0;
    for (int i = 0; position < length && strings[position] != 0; ++i) {
        if (i == index) return strings + position;
        position += static_cast<unsigned>(std::strlen(strings + position)) + 1;
    }
    return nullptr;
}

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

}  // namespace

bool JoinGamePath(char* buffer, unsigned size, const char* folder, const char* name) {
    if (!buffer || !folder || !name) return false;
    size_t folderLength = std::strlen(folder), nameLength = std::strlen(name);
    if (folderLength + 1 + nameLength + 1 > size) return false;
    std::memcpy(buffer, folder, folderLength);
    buffer[folderLength] = '\\';
    std::memcpy(buffer + folderLength + 1, name, nameLength + 1);
    return true;
}

FolderPath::FolderPath() : state_(static_cast<FolderPathState*>(std::calloc(1, sizeof(FolderPathState)))) {
    if (!state_) return;
    state_->listingHandle = -1;
    SetToCurrentFolder();
}

FolderPath::~FolderPath() {
    if (!state_) return;
    EndListing();
    std::free(state_);
}

const char* FolderPath::GetPath() const { return state_ ? state_->path : ""; }

bool FolderPath::SetToCurrentFolder() {
    if (!state_) return false;
    char current[FolderPathCapacity];
    if (!PlatformGetCurrentFolder(current, sizeof(current))) return false;
    size_t length = std::strlen(current);
    if (length > 0 && current[length - 1] == '\\') current[length - 1] = 0;
    std::memcpy(state_->path, current, std::strlen(current) + 1);
    return true;
}

bool FolderPath::IsFolder(const char* path) { return path && PlatformIsFolder(path); }

namespace {

bool SetToDataFolder(FolderPath* folder, char* path, bool useDevelopmentPath, const char* developmentPath) {
    char candidate[FolderPathCapacity];
    if (useDevelopmentPath) {
        CopyIfFits(candidate, sizeof(candidate), developmentPath);
    } else {
        char current[FolderPathCapacity];
        if (!PlatformGetCurrentFolder(current, sizeof(current))) return false;
        size_t length = std::strlen(current);
        if (length > 0 && current[length - 1] == '\\') current[length - 1] = 0;
        if (!JoinGamePath(candidate, sizeof(candidate), current, "data")) {
            folder->SetToCurrentFolder();
            return false;
        }
    }
    if (!FolderPath::IsFolder(candidate)) {
        folder->SetToCurrentFolder();
        return false;
    }
    std::memcpy(path, candidate, std::strlen(candidate) + 1);
    return true;
}

}  // namespace

bool FolderPath::SetToPlatformDataFolder(bool useDevelopmentPath) {
    return state_ && SetToDataFolder(this, state_->path, useDevelopmentPath, "x:\\platform\\data");
}

bool FolderPath::SetToProductDataFolder(bool useDevelopmentPath) {
    return state_ && SetToDataFolder(this, state_->path, useDevelopmentPath, "x:\\vqr\\data");
}

uint16_t FolderPath::DriveCount() {
    char strings[DriveStringsCapacity];
    unsigned length = FetchDriveStrings(strings);
    uint16_t count = 0;
    while (DriveEntry(strings, length, count)) ++count;
    return count;
}

const char* FolderPath::DriveName(int index) {
    unsigned length = FetchDriveStrings(gDriveStrings);
    return DriveEntry(gDriveStrings, length, index);
}

bool FolderPath::SetToDrive(int index) {
    if (!state_) return false;
    const char* drive = DriveName(index);
    return drive && CopyIfFits(state_->path, sizeof(state_->path), drive);
}

bool FolderPath::GoToParent() {
    if (!state_) return false;
    char parent[FolderPathCapacity];
    std::memcpy(parent, state_->path, sizeof(parent));
    char* cut = nullptr;
    for (char* c = parent; *c; ++c)
        if (IsSeparator(*c)) cut = c;
    if (cut) {
        // Cutting at a leading separator would leave nothing: the parent is then the root.
        if (cut == parent)
            cut[1] = 0;
        else
            *cut = 0;
    }
    if (!IsFolder(parent)) return false;
    std::memcpy(state_->path, parent, sizeof(parent));
    return true;
}

bool FolderPath::EnterFolder(const char* name) {
    if (!state_ || !name) return false;
    char joined[FolderPathCapacity];
    if (!JoinGamePath(joined, sizeof(joined), state_->path, name) || !IsFolder(joined)) return false;
    std::memcpy(state_->path, joined, sizeof(joined));
    return true;
}

bool FolderPath::CreateFolder(const char* name, bool enter) {
    if (!state_ || !name || !IsFolder(state_->path)) return false;
    char joined[FolderPathCapacity];
    if (!JoinGamePath(joined, sizeof(joined), state_->path, name)) return false;
    PlatformMakeFolder(joined);  // an existing folder is fine: the test below decides
    if (!IsFolder(joined)) return false;
    if (enter) std::memcpy(state_->path, joined, sizeof(joined));
    return true;
}

bool FolderPath::BeginListing(FolderListingKind kind) {
    if (!state_ || !IsFolder(state_->path)) return false;
    EndListing();
    state_->listingKind = kind;
    char pattern[FolderPathCapacity];
    if (!JoinGamePath(pattern, sizeof(pattern), state_->path, "*.*")) {
        state_->listingKind = ListNothing;
        return false;
    }
    state_->listingHandle = PlatformFindFirst(pattern, &state_->found);
    if (state_->listingHandle == -1) {
        state_->listingKind = ListNothing;
        return false;
    }
    return true;
}

const char* FolderPath::NextListed() {
    if (!state_ || state_->listingHandle == -1) return nullptr;
    while (state_->listingKind != ListNothing) {
        const PlatformFindData& entry = state_->found;
        bool isFolder = (entry.attrib & PlatformAttributeFolder) != 0;
        bool accepted = state_->listingKind == ListFolders
                            ? isFolder && std::strcmp(entry.name, ".") != 0 && std::strcmp(entry.name, "..") != 0
                            : !isFolder;
        if (accepted) std::memcpy(state_->listedName, entry.name, sizeof(state_->listedName));
        if (PlatformFindNext(state_->listingHandle, &state_->found) != 0) state_->listingKind = ListNothing;
        if (accepted) return state_->listedName;
    }
    return nullptr;
}

void FolderPath::EndListing() {
    if (!state_ || state_->listingHandle == -1) return;
    PlatformFindClose(state_->listingHandle);
    state_->listingHandle = -1;
}

const char* FolderPath::FullPathOf(const char* name) {
    if (!state_ || !name || !JoinGamePath(gFullPath, sizeof(gFullPath), state_->path, name)) {
        gFullPath[0] = 0;
        return gFullPath;
    }
    return gFullPath;
}
