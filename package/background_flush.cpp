// background_flush.cpp: see background_flush.h.
#include "package/background_flush.h"

#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <new>
#include <thread>

#include "platform/platform_system.h"

int64_t BackgroundFlushStepForTests = 0;
bool (*BackgroundFlushFault)() = nullptr;

struct BackgroundFlush {
    FILE* file = nullptr;  // the caller's file, or the worker's own handle on it
    int64_t unflushed = 0;  // bytes written since the last early flush began
    bool wanted = false;    // a flush asked for and not yet begun or not yet done
    bool faulty = false;    // that flush fails (BackgroundFlushFault)
    bool asked = false;     // an early flush was asked for; only the copying thread sets it
    bool ending = false;
    WriteFailureReason failure = WriteFailureNone;  // the first early flush that failed
    std::mutex lock;
    std::condition_variable changed;
    bool ownHandle = false;  // `file` is the worker's: End closes it
    std::thread worker;
};

namespace {

void FlushWhenAsked(BackgroundFlush* flush) {
    std::unique_lock<std::mutex> guard(flush->lock);
    for (;;) {
        flush->changed.wait(guard, [flush] { return flush->wanted || flush->ending; });
        if (!flush->wanted) return;  // ending, nothing asked for
        const bool faulty = flush->faulty;
        guard.unlock();
        errno = 0;
        const bool synced = !faulty && PlatformSyncFile(flush->file);
        const WriteFailureReason reason = synced ? WriteFailureNone : PlatformLastWriteFailure();
        guard.lock();
        if (!synced && flush->failure == WriteFailureNone) flush->failure = reason == WriteFailureNone ? WriteFailureOther : reason;
        flush->wanted = false;
        flush->faulty = false;
    }
}

}  // namespace

BackgroundFlush* BackgroundFlushBegin(FILE* file) {
    if (file == nullptr) return nullptr;
    BackgroundFlush* flush = new (std::nothrow) BackgroundFlush;
    if (flush == nullptr) return nullptr;
    FILE* own = PlatformFlushHandleOf(file);
    flush->file = own != nullptr ? own : file;
    flush->ownHandle = own != nullptr;
    try {
        flush->worker = std::thread(FlushWhenAsked, flush);
        return flush;
    } catch (...) {
        // No thread to be had: the copy goes on without early flushes.
    }
    if (own != nullptr) std::fclose(own);
    delete flush;
    return nullptr;
}

bool BackgroundFlushGoesOn(const BackgroundFlush* flush) { return flush != nullptr && flush->ownHandle && flush->asked; }

void BackgroundFlushWritten(BackgroundFlush* flush, int64_t count) {
    if (flush == nullptr || count <= 0) return;
    std::lock_guard<std::mutex> guard(flush->lock);
    flush->unflushed += count;
    const int64_t step = BackgroundFlushStepForTests > 0 ? BackgroundFlushStepForTests : BackgroundFlushStep;
    if (flush->wanted || flush->unflushed < step) return;
    flush->unflushed = 0;
    flush->wanted = true;
    flush->asked = true;
    flush->faulty = BackgroundFlushFault != nullptr && BackgroundFlushFault();
    flush->changed.notify_all();
}

bool BackgroundFlushEnd(BackgroundFlush* flush, WriteFailureReason* reason) {
    if (flush == nullptr) return true;
    {
        std::lock_guard<std::mutex> guard(flush->lock);
        flush->ending = true;
        flush->changed.notify_all();
    }
    flush->worker.join();
    if (flush->ownHandle) std::fclose(flush->file);
    const WriteFailureReason failure = flush->failure;
    delete flush;
    if (failure == WriteFailureNone) return true;
    if (reason != nullptr) *reason = failure;
    return false;
}
