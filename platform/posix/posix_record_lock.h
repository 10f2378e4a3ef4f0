// posix_record_lock.h: the lock that keeps two writers of the Linux record file apart (an
// exclusive advisory lock on "<file>.lock"). Called by PlatformRecordWrite only.
#pragma once

#include <string>

// How long a writer waits for another one to let go of the lock. A record write holds it for a
// few milliseconds, so a lock held longer belongs to a process that is stuck, and the installer
// must not hang behind it.
constexpr int RecordLockWaitMilliseconds = 3000;

// Opens (creating it when missing) "<recordPath>.lock" and takes the lock, trying again every few
// milliseconds for at most RecordLockWaitMilliseconds. A lock path that is a link, a folder or
// anything but a regular file is refused. The open descriptor, or -1 with errno set: EBUSY when
// another process kept the lock all that time.
int LockRecordFile(const std::string& recordPath);

// Lets go of the lock and closes the descriptor. The lock file stays: removing it would race
// with a writer that is waiting for it.
void UnlockRecordFile(int lock);
