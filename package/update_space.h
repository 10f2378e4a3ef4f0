// update_space.h: how much room an update needs on the game's disk, so that the wizard can refuse
// it before any file is touched instead of stopping half-way on a full disk.
#pragma once

#include <cstdint>

// Bytes needed to replace files of the given old sizes (-1 or 0: none there) by files of the
// new sizes: the growth of every file, plus room for the largest new file, which stands beside
// its old version as a temporary file until it replaces it. Pure.
int64_t SpaceNeeded(const int64_t* newSizes, const int64_t* oldSizes, int count);

// The same for the update in "update.dat" and the language readme `readmeSource` going into
// `gameFolder`, measuring the files there now. -1 when the package header cannot be read.
int64_t UpdateSpaceNeeded(const char* gameFolder, const char* readmeSource);
