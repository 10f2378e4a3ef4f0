// leftover_files.h: temporary files ("~tlf<process id>-<n>.tmp") that a killed run left beside
// the game's files. The wizard removes those of processes that are gone before an update, and
// never one of a process that still runs (it may be another installer writing right now).
#pragma once

#include <cstdint>

// True for a name of the form "~tlf<digits>-<digits>.tmp" (letters in any case); the process id
// goes to processId. Pure.
bool ParseTemporaryFileName(const char* name, uint32_t* processId);

// Removes every such file in `folder` (Windows path, no trailing backslash) whose process no
// longer runs. Returns how many were removed.
int RemoveLeftoverTemporaryFiles(const char* folder);
