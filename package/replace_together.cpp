// replace_together.cpp: see replace_together.h. Called by BuildUpdatePackage.
#include "package/replace_together.h"

#include <cstdio>

#include "platform/platform_system.h"

namespace {

constexpr int MaxFiles = 4;

// Where one target stands during the replacement.
struct Slot {
    char aside[520];      // the old target's temporary name, when kept
    bool kept = false;    // the old target was renamed to `aside`
    bool placed = false;  // the new file now has the target's name
};

// Renames `target` to a new temporary name beside it (an exclusively created empty file that the
// rename replaces, so that the name cannot be anybody else's). A killed run leaves it behind
// under the name leftover_files.h knows.
bool KeepAside(const char* target, char* aside, size_t size) {
    FILE* holder = PlatformCreateTempFileBeside(target, aside, size);
    if (holder == nullptr) return false;
    std::fclose(holder);
    if (PlatformReplaceFile(target, aside)) return true;
    PlatformRemoveFile(aside);
    return false;
}

// Undoes whatever was done for the files so far, the last first.
void PutBack(const FileReplacement* files, Slot* slots, int count) {
    for (int i = count - 1; i >= 0; --i) {
        if (slots[i].kept) {
            PlatformReplaceFile(slots[i].aside, files[i].target);
        } else if (slots[i].placed) {
            PlatformRemoveFile(files[i].target);
        }
        if (!slots[i].placed) PlatformRemoveFile(files[i].temporary);
    }
}

}  // namespace

bool IsReplaceableTarget(const char* target) { return PlatformPathKindOf(target) != PlatformPathKind::Other; }

bool ReplaceTogether(const FileReplacement* files, int count) {
    if (count < 0 || count > MaxFiles) return false;
    Slot slots[MaxFiles];
    bool ok = true;
    for (int i = 0; ok && i < count; ++i) {
        const PlatformPathKind kind = PlatformPathKindOf(files[i].target);
        ok = kind != PlatformPathKind::Other;
        if (ok && kind == PlatformPathKind::RegularFile) {
            ok = slots[i].kept = KeepAside(files[i].target, slots[i].aside, sizeof slots[i].aside);
        }
    }
    for (int i = 0; ok && i < count; ++i) ok = slots[i].placed = PlatformReplaceFile(files[i].temporary, files[i].target);
    if (!ok) {
        PutBack(files, slots, count);
        return false;
    }
    for (int i = 0; i < count; ++i) {
        if (!slots[i].kept) continue;
        PlatformMakeWritable(slots[i].aside);  // Windows removes no read-only file
        PlatformRemoveFile(slots[i].aside);
    }
    return true;
}
