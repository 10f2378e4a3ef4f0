// kill_points_test.cpp: the update stopped dead at the steps that change the disk (each kind of
// rename, marker, removal and journal write of the update unit, at its first and last occurrence)
// in a second process, then the next start of the installer on that game: the game must be exactly
// the old installation or exactly the update, nothing of the other, no leftover, the record to
// match. Two runs are stopped: one that completes (the record written in its middle), and one
// whose last entry is damaged, so that every step of putting the game back is stopped too.
//
// The second process is this test program again, running the disabled test below with its orders
// in the environment; it ends itself with _exit at the step, as a kill or a power cut would leave
// the disk (on Windows and under Wine as on Linux).
#ifdef _WIN32
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "package/update_unit.h"
#include "tests/e2e/wizard_session.h"

namespace {

const char* const kOrdersVariable = "TLF_KILL_ORDERS";  // "<damaged 0|1> <step index> <root folder>"
const int kKilledCode = 99;

std::vector<std::string> gSteps;
int gKillAt = -1;

void RecordStep(const char* step) {
    if (static_cast<int>(gSteps.size()) == gKillAt) {
        std::fflush(nullptr);
        _exit(kKilledCode);
    }
    gSteps.push_back(step);
}

void SetVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

// Flips a byte of the last entry's data: the checksum list finds it at entry 46.
bool DamageLastEntry(const WizardSession& s) {
    std::vector<unsigned char> package;
    const std::string path = JoinNative(s.updateFolder, "update.dat");
    if (!ReadFileBytes(path, &package) || package.size() < 2) return false;
    package[package.size() - 2] ^= 0x20;
    return WriteFileBytes(path, package);
}

// Start, English, Next, and frames until the update leaves its page.
void RunTheUpdate(WizardSession& s) {
    if (s.Start() && s.ChooseLanguage()) s.RunUpdate();
}

// Runs the disabled child test below in a new process of this program; its exit code.
int RunChild() {
    const std::string filter = "--gtest_filter=KillPoints.DISABLED_ChildUpdatesUntilItsStep";
#ifdef _WIN32
    char self[MAX_PATH];
    if (GetModuleFileNameA(nullptr, self, sizeof self) == 0) return -1;
    std::string command = std::string("\"") + self + "\" --gtest_also_run_disabled_tests " + filter;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(self, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) return -1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
#else
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", "tests_e2e", "--gtest_also_run_disabled_tests", filter.c_str(), "--gtest_brief=1",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
#endif
}

TEST(KillPoints, DISABLED_ChildUpdatesUntilItsStep) {
    const char* orders = std::getenv(kOrdersVariable);
    ASSERT_NE(orders, nullptr);
    int damaged = 0;
    char root[600] = {};
    ASSERT_EQ(std::sscanf(orders, "%d %d %599[^\n]", &damaged, &gKillAt, root), 3);
    WizardSession s(JoinNative(root, "update"));
    UpdateUnitFaultPoint = RecordStep;
    RunTheUpdate(s);
    FAIL() << "the update ended before step " << gKillAt;
}

TEST(KillPoints, AfterAStopAtAnyStepTheNextStartLeavesTheOldGameOrTheNewOne) {
    for (int damaged : {0, 1}) {
        // The steps of an undisturbed run, in order.
        std::vector<std::string> steps;
        {
            WizardSession s;
            ASSERT_TRUE(!damaged || DamageLastEntry(s));
            gSteps.clear();
            gKillAt = -1;
            UpdateUnitFaultPoint = RecordStep;
            RunTheUpdate(s);
            UpdateUnitFaultPoint = nullptr;
            steps = gSteps;
            ASSERT_EQ(GameDiffersFrom(s, !damaged), "") << "undisturbed, damaged " << damaged;
        }
        // The first and the last of each kind of step (of the damaged run, those of putting back
        // only: the rest it shares with the complete run); after the record holds the new version
        // (the kept files being dropped) the update stands.
        const size_t putBack = std::find(steps.begin(), steps.end(), std::string("put back")) - steps.begin();
        std::vector<int> stops;
        for (size_t i = damaged ? putBack : 0; i < steps.size(); ++i) {
            const bool first = std::find(steps.begin(), steps.begin() + i, steps[i]) == steps.begin() + i;
            const bool last = std::find(steps.begin() + i + 1, steps.end(), steps[i]) == steps.end();
            if (first || last) stops.push_back(static_cast<int>(i));
        }
        bool recorded = false;
        for (int stop : stops) {
            recorded = recorded || (!damaged && steps[stop] == "drop kept file");
            const std::string label = "damaged " + std::to_string(damaged) + ", stopped at step " + std::to_string(stop) +
                                      " (" + steps[stop] + ")";
            WizardSession s;
            ASSERT_TRUE(!damaged || DamageLastEntry(s));
            SetVariable(kOrdersVariable, std::to_string(damaged) + " " + std::to_string(stop) + " " + s.root.path);
            ASSERT_EQ(RunChild(), kKilledCode) << label;
            ASSERT_TRUE(s.Start() && s.ChooseLanguage()) << label;
            EXPECT_EQ(s.State(), StateConfirmVersions) << label;
            EXPECT_EQ(GameDiffersFrom(s, recorded), "") << label << ", next start";
        }
        EXPECT_EQ(recorded, !damaged) << "the complete run was stopped after its record was written";
    }
}

}  // namespace
