// replace_together.h: puts finished temporary files in place of their targets all together or
// not at all. Pack mode (BuildUpdatePackage) uses it for "update.dat" and "SHA256SUMS", so that a
// failed pack never leaves a new package beside an old checksum list, or the other way round.
#pragma once

// One finished, closed temporary file and the name it is to take. Paths as the platform layer
// takes them (platform_system.h).
struct FileReplacement {
    const char* temporary;
    const char* target;
};

// True when `target` is missing or a regular file; false for a folder, a link, a device or a
// path that cannot be looked at. Only such a target is ever replaced or kept aside.
bool IsReplaceableTarget(const char* target);

// Moves each existing target aside (renamed to a temporary name beside it), then each temporary
// file in under its target's name; only once all are in are the kept ones removed. On any
// failure - a target that is not replaceable included - the targets kept aside are put back,
// the new files moved in where nothing stood before are removed, and the temporary files are
// removed: every target is as it was. At most 4 files.
bool ReplaceTogether(const FileReplacement* files, int count);
