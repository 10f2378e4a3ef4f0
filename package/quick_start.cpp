// quick_start.cpp: finding and deleting the quick-start files (see quick_start.h).
#include "package/quick_start.h"

#include <cstdio>

#include "platform/platform_system.h"

namespace {

enum : int { QuickStartPathCapacity = 200 };

// Formats into buffer; false when the text with its zero would not fit (never truncated).
template <typename... Arguments>
bool FormatPath(char* buffer, int size, const char* format, Arguments... arguments) {
    int length = std::snprintf(buffer, static_cast<size_t>(size), format, arguments...);
    return length >= 0 && length < size;
}

}  // namespace

bool ProcessQuickStartFiles(const char* gameFolder, bool deleteFiles) {
    if (!gameFolder) return deleteFiles;
    char pattern[QuickStartPathCapacity];
    if (!FormatPath(pattern, QuickStartPathCapacity, "%s\\qstart\\*.qst", gameFolder)) return deleteFiles;

    PlatformFindData entry;
    intptr_t listing = PlatformFindFirst(pattern, &entry);
    if (!deleteFiles) {
        if (listing != -1) PlatformFindClose(listing);
        return listing != -1;
    }
    if (listing == -1) return true;
    do {
        char path[QuickStartPathCapacity];
        if (!FormatPath(path, QuickStartPathCapacity, "%s\\qstart\\%s", gameFolder, entry.name)) continue;
        // Made writable only when removal alone fails (Windows keeps read-only files).
        if (PlatformRemoveFile(path) != 0 && PlatformMakeWritable(path) == 0) PlatformRemoveFile(path);
    } while (PlatformFindNext(listing, &entry) == 0);
    PlatformFindClose(listing);
    return true;
}
