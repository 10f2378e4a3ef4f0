// posix_record_lock.cpp: see posix_record_lock.h.
#include "platform/posix/posix_record_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace {

// Between two tries: short beside the wait, long enough not to spin.
constexpr int RetryMilliseconds = 20;

// Takes the lock on an open descriptor within the wait; errno EBUSY when it stays taken.
bool TakeLock(int lock) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(RecordLockWaitMilliseconds);
    for (;;) {
        if (flock(lock, LOCK_EX | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return false;
        if (std::chrono::steady_clock::now() >= deadline) {
            errno = EBUSY;  // the reason a caller tells: "in use"
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(RetryMilliseconds));
    }
}

}  // namespace

int LockRecordFile(const std::string& recordPath) {
    const int lock = open((recordPath + ".lock").c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (lock < 0) return -1;
    struct stat info;
    int error = 0;
    if (fstat(lock, &info) != 0) {
        error = errno;
    } else if (!S_ISREG(info.st_mode)) {
        error = EINVAL;  // a FIFO or a device opened without waiting, and never locked
    } else if (!TakeLock(lock)) {
        error = errno;
    }
    if (error == 0) return lock;
    close(lock);
    errno = error;
    return -1;
}

void UnlockRecordFile(int lock) {
    flock(lock, LOCK_UN);
    close(lock);
}
