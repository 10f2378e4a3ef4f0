// leftover_files.cpp: see leftover_files.h. Called by the wizard's source check for the game
// folder and the folders below it that the update writes to.
#include "package/leftover_files.h"

#include <cctype>
#include <cstdio>

#include "platform/platform_system.h"

namespace {

bool StartsWithNoCase(const char* text, const char* prefix) {
    for (; *prefix != 0; ++text, ++prefix)
        if (std::tolower(static_cast<unsigned char>(*text)) != *prefix) return false;
    return true;
}

// Reads one or more digits into value; false when there is none or it overflows 32 bits.
bool ReadNumber(const char*& text, uint32_t* value) {
    uint64_t number = 0;
    const char* start = text;
    while (*text >= '0' && *text <= '9') {
        number = number * 10 + static_cast<uint64_t>(*text - '0');
        if (number > 0xFFFFFFFFu) return false;
        ++text;
    }
    *value = static_cast<uint32_t>(number);
    return text != start;
}

}  // namespace

bool ParseTemporaryFileName(const char* name, uint32_t* processId) {
    if (!StartsWithNoCase(name, "~tlf")) return false;
    const char* p = name + 4;
    uint32_t counter = 0;
    if (!ReadNumber(p, processId) || *p++ != '-' || !ReadNumber(p, &counter)) return false;
    return StartsWithNoCase(p, ".tmp") && p[4] == 0;
}

int RemoveLeftoverTemporaryFiles(const char* folder) {
    char pattern[520];
    if (std::snprintf(pattern, sizeof pattern, "%s\\~tlf*.tmp", folder) >= static_cast<int>(sizeof pattern)) return 0;
    PlatformFindData found;
    intptr_t listing = PlatformFindFirst(pattern, &found);
    if (listing == -1) return 0;
    const uint32_t self = PlatformProcessId();
    int removed = 0;
    do {
        uint32_t owner = 0;
        if ((found.attrib & PlatformAttributeFolder) || !ParseTemporaryFileName(found.name, &owner)) continue;
        if (owner == self || PlatformProcessIsAlive(owner)) continue;
        char path[520];
        if (std::snprintf(path, sizeof path, "%s\\%s", folder, found.name) >= static_cast<int>(sizeof path)) continue;
        // Made writable only when removal alone fails (Windows keeps read-only files).
        if (PlatformRemoveFile(path) == 0 || (PlatformMakeWritable(path) == 0 && PlatformRemoveFile(path) == 0)) ++removed;
    } while (PlatformFindNext(listing, &found) == 0);
    PlatformFindClose(listing);
    return removed;
}
