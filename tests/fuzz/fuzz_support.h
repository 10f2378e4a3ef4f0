// fuzz_support.h: what every libFuzzer target of this folder shares: one scratch folder per
// process and the check that turns a broken promise into a finding. Whole-file helpers are the
// tests' own (tools/wizard_driver/scratch_files.h, included here).
//
// The targets run the real code on real files, so each process works in a fresh folder (in
// /dev/shm when it exists, so that the many small writes and flushes stay in memory), made on
// first use and removed when the process ends.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "tools/wizard_driver/scratch_files.h"

// Fails the run like a sanitizer finding: libFuzzer keeps the input that broke the promise.
#define FUZZ_CHECK(condition, what)                                                        \
    do {                                                                                   \
        if (!(condition)) {                                                                \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", what, __FILE__, __LINE__); \
            std::abort();                                                                  \
        }                                                                                  \
    } while (0)

// The process's scratch folder (native path, no trailing slash).
const std::string& FuzzScratchFolder();
// scratch folder + "/" + name
std::string FuzzScratchPath(const std::string& name);

// Number of entries of a folder whose name holds "~tlf" (temporary files left behind).
int FuzzCountTemporaryFiles(const std::string& folder);
// Makes the scratch folder the current folder (the code under test names files bare).
void FuzzEnterScratchFolder();
// The committed fonts of the source tree.
std::string FuzzFontFolder();
