// leftover_files_test.cpp: the clean-up of temporary files before an update, in a real folder,
// with a second process that runs meanwhile (the wizard's use of it: wizard_install_test.cpp).
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "package/leftover_files.h"
#include "platform/platform_system.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

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

TEST(LeftoverFiles, OnlyExactNamesOfRunsThatAreGoneAreRemoved) {
    OtherProcess other;
#ifdef _WIN32
    OtherProcess ended;
    ended.End();
    const std::string dead = std::to_string(ended.Id());
    ASSERT_NE(ended.Id(), 0u);
#else
    const std::string dead = "99999999";  // beyond the highest process id Linux gives (2^22)
#endif
    ASSERT_NE(other.Id(), 0u);
    const std::string live = std::to_string(other.Id()), self = std::to_string(PlatformProcessId());
    const std::pair<std::string, bool> files[] = {  // name, removed
        {"~tlf" + dead + "-3.tmp", true},        {"~TLF" + dead + "-0.Tmp", true},      {"~tlf" + live + "-3.tmp", false},
        {"~tlf" + self + "-3.tmp", false},       {"~tlf" + dead + "-3.tmp.bak", false}, {"~tlf" + dead + "-3.tmpx", false},
        {"~tlf" + dead + "-3.tmp.tmp", false},   {"~tlf" + dead + "-.tmp", false},      {"~tlf-3.tmp", false},
        {"x~tlf" + dead + "-3.tmp", false},      {"~tlf" + dead + "3.tmp", false},
    };
    TempFolder folder;
    for (const auto& f : files) ASSERT_TRUE(WriteFileText(folder.Join(f.first), "being written"));
    EXPECT_EQ(RemoveLeftoverTemporaryFiles(folder.path.c_str()), 2);
    for (const auto& f : files) EXPECT_EQ(FileExists(folder.Join(f.first)), !f.second) << f.first;
}

}  // namespace
