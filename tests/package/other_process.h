// other_process.h: a live process of the test's own for the package tests (whose temporary files
// a clean-up must keep), in leftover_files_test.cpp and record_test.cpp.
#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <cstdint>

// Another process, alive until End() or the object goes: on Windows this program started
// suspended (after End() its id stays taken while the handle is open), elsewhere a forked child
// blocked reading a pipe that only then closes.
struct OtherProcess {
#ifdef _WIN32
    OtherProcess() {
        char self[MAX_PATH] = {};
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        if (!CreateProcessA(self, nullptr, nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup, &info)) info = {};
    }
    void End() {
        TerminateProcess(info.hProcess, 0);
        WaitForSingleObject(info.hProcess, INFINITE);
    }
    ~OtherProcess() {
        if (!info.hProcess) return;
        End();
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    uint32_t Id() const { return info.dwProcessId; }
    PROCESS_INFORMATION info{};
#else
    OtherProcess() {
        if (pipe(ends) != 0 || (child = fork()) != 0) return;
        char c;
        close(ends[1]);
        _exit(static_cast<int>(read(ends[0], &c, 1)));
    }
    ~OtherProcess() {
        close(ends[0]);
        close(ends[1]);
        if (child > 0) waitpid(child, nullptr, 0);
    }
    uint32_t Id() const { return child > 0 ? static_cast<uint32_t>(child) : 0; }
    int ends[2] = {-1, -1};
    pid_t child = -1;
#endif
};
