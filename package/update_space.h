// update_space.h: how much room an update needs on the game's disk, so that the wizard can refuse
// it before any file is touched instead of failing on a full disk.
#pragma once

#include <cstdint>

// Bytes the update needs free on the game's disk at its peak, for new files of the given sizes.
// Every old file the update replaces is kept aside (package/update_unit.h) until the record holds
// the new version, so the peak comes at the last entry, when the old files and every new one are
// on the disk together: the sum of the new files, each rounded up to a 4 KiB allocation unit, and
// one unit per file for the marker it may need and one for the journal. Pure.
int64_t SpaceNeeded(const int64_t* newSizes, int count);

// The same for the update in "update.dat" and the language readme `readmeSource`. -1 when the
// package header cannot be read.
int64_t UpdateSpaceNeeded(const char* readmeSource);
