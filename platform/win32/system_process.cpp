// system_process.cpp: the process functions of platform_system.h on Windows.
#include <windows.h>

#include "platform/platform_system.h"

uint32_t PlatformProcessId() { return static_cast<uint32_t>(GetCurrentProcessId()); }

bool PlatformProcessIsAlive(uint32_t processId) {
    if (processId == 0) return false;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    // Refused access means the process exists under someone else.
    if (process == nullptr) return GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    bool running = GetExitCodeProcess(process, &code) != 0 && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}
