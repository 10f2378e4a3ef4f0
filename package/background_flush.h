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
// Used by the copies of package/update_package.cpp.
#pragma once

#include <cstdint>
#include <cstdio>

#include "platform/write_failure.h"

struct BackgroundFlush;

// Bytes written between two early flushes.
constexpr int64_t BackgroundFlushStep = int64_t{16} << 20;

// Starts the worker for `file`, which must stay open until End; null when no thread can be had
// (the copy then goes on without early flushes).
BackgroundFlush* BackgroundFlushBegin(FILE* file);
// Counts `count` more bytes written; once BackgroundFlushStep bytes are written since the last
// early flush began and the worker is idle, it flushes the file again. Never waits.
// Nothing for a null flush.
void BackgroundFlushWritten(BackgroundFlush* flush, int64_t count);
// Waits for the worker and frees everything; false, with the reason in `reason`, when an early
// flush failed. True for a null flush. Must be called once for every flush begun.
bool BackgroundFlushEnd(BackgroundFlush* flush, WriteFailureReason* reason);
