// kill_test.cpp: the installer killed during the update, then run again.
//
// - SIGKILL at frames spread at random (a fixed seed) over the update: the wizard runs in a
//   forked child, which is killed after that frame; nothing can run after a SIGKILL.
// - A death in the middle of writing an entry: the child's file-size limit is left to raise
//   SIGXFSZ, whose default action ends the process inside the write, so a half-written
//   temporary file of that run stays behind.
// After each, the game folder holds only whole files, and a second run installs everything and
// never installs the stale temporary file. Native only (fork, signals, limits).
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <random>
#include <string>

#include "app/texts.h"
#include "package/update_file_table.h"
#include "tests/faults/fault_matrix.h"

namespace {

// The rerun after a kill: a fresh start that must install everything.
void RunAgainToCompletion(WizardSession& s, const std::string& label) {
    s.InstallToCompletion();
    CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), label + ", run again");
    s.Shutdown();
    ResetFrameworkAndBackend();
}

TEST(Killed, AtRandomFramesOfTheUpdateThenRunAgain) {
    std::mt19937 random(20261206);
    // Step n runs in the n-th frame after Next; 49 frames finish the update.
    std::uniform_int_distribution<int> frames(1, 49);
    for (int round = 0; round < 12; ++round) {
        const int frame = frames(random);
        WizardSession s;
        const int status = RunInChild([&] {
            if (!RunUpdateUpToEntry(s, -1)) return 100;  // Next clicked, step 0 next
            for (int i = 0; i < frame; ++i) s.Frame();
            kill(getpid(), SIGKILL);
            return 101;
        });
        const std::string label = "killed after update frame " + std::to_string(frame);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << label;
        // Frame n ran step n - 1: entries 0 to n - 2 are in, the finish ran after frame 49.
        if (frame >= 49) {
            CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, StateCompleted, label);
        } else {
            CheckAfterRun(s, RunOutcome{StateUpdating, frame - 1}, StateUpdating, label);
        }
        RunAgainToCompletion(s, label);
    }
}

TEST(Killed, InsideTheWriteOfEachEntryThenRunAgain) {
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        WizardSession s;
        const rlim_t limit = NewEntryContents(entry).size() / 2;
        const int status = RunInChild([&] {
            if (!RunUpdateUpToEntry(s, entry)) return 100;
            std::signal(SIGXFSZ, SIG_DFL);
            rlimit bytes{limit, limit};
            setrlimit(RLIMIT_FSIZE, &bytes);
            FinishRun(s);
            return 101;
        });
        const std::string label = "killed inside the write of " + EntryPath(entry);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ) << label << ", status " << status;
        // The dead run's half-written temporary file is the only one; every game file is whole.
        CountFaultCase();
        EXPECT_EQ(CountTemporaryFiles(s.gameFolder), 1) << label;
        for (int i = 0; i < UpdateFileCount; ++i) {
            std::string contents;
            const bool present = s.ReadGameFile(EntryPath(i), &contents);
            if (i < entry) {
                EXPECT_EQ(contents, NewEntryContents(i)) << label << ": " << EntryPath(i);
            } else if (GameHasOldEntry(i)) {
                EXPECT_EQ(contents, OldContents(i)) << label << ": " << EntryPath(i);
            } else {
                EXPECT_FALSE(present) << label << ": " << EntryPath(i);
            }
        }
        EXPECT_EQ(s.RecordVersion(), "Release") << label;

        // Run again: everything installs; the stale file is ignored, never installed.
        s.InstallToCompletion();
        CountFaultCase();
        for (int i = 0; i < UpdateFileCount; ++i) {
            EXPECT_EQ(s.GameFile(EntryPath(i)), NewEntryContents(i)) << label << ", run again: " << EntryPath(i);
        }
        EXPECT_EQ(s.RecordVersion(), NewVersionText) << label;
        EXPECT_EQ(s.State(), StateCompleted) << label;
        EXPECT_LE(CountTemporaryFiles(s.gameFolder), 1) << label << ": the rerun left a temporary file of its own";
    }
}

}  // namespace

#endif  // _WIN32
