// posix_process.cpp: the process functions of platform_system.h on POSIX.
#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform_system.h"

uint32_t PlatformProcessId() { return static_cast<uint32_t>(getpid()); }

bool PlatformProcessIsAlive(uint32_t processId) {
    if (processId == 0 || processId > 0x7FFFFFFF) return false;
    // Signal 0 checks only that the process exists; EPERM means it exists under another user.
    return kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}
