// background_flush.h: a file that is being written, flushed to the disk on a worker thread while
// the copy goes on.
//
// PlatformStartWriteBack hands each chunk to the system at once, but the disk's own cache still
// has to be written out by the flush at the end (PlatformSyncFile), and that flush waited for
// everything written since the start: about 0.3 s for 600 MiB on the development machine, after a
// copy that had waited for its digests (docs/PERFORMANCE.md). Here the file is flushed every
// BackgroundFlushStep bytes beside the copy, so the flush at the end finds only the last bytes
// left. Copies without a digest do not use it: nothing holds them up, so the flushes beside them
// gained nothing and slowed their writes. The early flushes add no guarantee and replace no
// flush: the caller still flushes the file once it is complete. A failed early flush is
// remembered and reported by End, because the system reports a failed write-out once only, and
// the final flush might not see it again.
// Where the worker has a handle of its own on the file (PlatformFlushHandleOf: not on Windows),
// the caller may close and place its file while the last early flush goes on. The copies of an
// update unit use that: the flush of one entry goes on beside the copy of the next, and the unit
// asks for its outcome before it relies on the file (update_unit.h, HandOverUnitFlush). Waiting for
// it at the end of each copy left both processors idle for a tenth of a checked install.
// Test hooks: BackgroundFlushStepForTests and BackgroundFlushFault.
// Used by the copies of package/update_package.cpp.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/write_failure.h"

struct BackgroundFlush;

// Bytes written between two early flushes.
constexpr int64_t BackgroundFlushStep = int64_t{16} << 20;
// Test hooks, unset in the program: a step other than BackgroundFlushStep when above 0, so that
// small files are flushed early too; and a call on the copying thread whenever an early flush is
// asked for, which makes that flush fail, as a disk that could not write the file out, when it
// returns true.
extern int64_t BackgroundFlushStepForTests;
extern bool (*BackgroundFlushFault)();

// Starts the worker for `file`, which must stay open until End; null when no thread can be had
// (the copy then goes on without early flushes).
BackgroundFlush* BackgroundFlushBegin(FILE* file);
// Counts `count` more bytes written; once BackgroundFlushStep bytes are written since the last
// early flush began and the worker is idle, it flushes the file again. Never waits.
// Nothing for a null flush.
void BackgroundFlushWritten(BackgroundFlush* flush, int64_t count);
// True when the worker flushes through a handle of its own, so that the caller may close and
// rename its file before End, and an early flush has been asked for (End of a flush never asked
// for returns at once). False for a null flush. Called by the copying thread.
bool BackgroundFlushGoesOn(const BackgroundFlush* flush);
// Waits for the worker and frees everything; false, with the reason in `reason`, when an early
// flush failed. True for a null flush. Must be called once for every flush begun.
bool BackgroundFlushEnd(BackgroundFlush* flush, WriteFailureReason* reason);
