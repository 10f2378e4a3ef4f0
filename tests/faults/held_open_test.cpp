// held_open_test.cpp: a game file held open without sharing while the wizard replaces it
// for reading only, as a running game holds its files (Windows only: there an open file without
// FILE_SHARE_DELETE cannot be replaced; POSIX has no share modes). The replacement is retried briefly, then the entry is a write failure: the file
// keeps its old content, no temporary file stays, and once the file is let go the wizard resumes
// from that entry. The handle is the test program's own; Windows checks sharing per handle.
#ifdef _WIN32

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "package/update_file_table.h"
#include "tests/faults/fault_matrix.h"

namespace {

// Others may still read the file (the wizard probes "tlf.exe"), but not write, delete or replace it.
HANDLE HoldOpenWithoutSharing(const std::string& path) {
    return CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                       nullptr);
}

TEST(HeldOpen, ATargetHeldOpenIsAWriteFailureThenTheUpdateResumes) {
    // tlf.exe, pics.cfg (skipped), city.dat, the readme and changes.txt: the old files of the game.
    for (int entry : {0, 9, 12, 44, 45}) {
        WizardSession s;
        const std::string label = EntryPath(entry) + " held open";
        HANDLE held = HoldOpenWithoutSharing(JoinNative(s.gameFolder, EntryPath(entry)));
        ASSERT_NE(held, INVALID_HANDLE_VALUE) << label;
        ASSERT_TRUE(s.Start());
        ASSERT_TRUE(s.ChooseLanguage());
        ASSERT_TRUE(s.RunUpdate());
        if (IsPicturesConfigEntry(entry)) {
            CloseHandle(held);
            CheckAfterRun(s, RunOutcome{StateCompleted, UpdateFileCount, true, true}, s.State(), label);
            continue;
        }
        CheckAfterRun(s, RunOutcome{StateWriteFailed, entry}, s.State(), label);
        EXPECT_EQ(s.App().fileCounter, entry + 1) << label;

        // Let go, then back through the folder and version pages: the update resumes there.
        CloseHandle(held);
        ASSERT_TRUE(s.ClickSlot(3));
        ASSERT_EQ(s.State(), StateEnterFolder);
        ASSERT_TRUE(s.ClickSlot(4));
        ASSERT_EQ(s.State(), StateConfirmVersions);
        ASSERT_TRUE(s.RunUpdate());
        CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), label + ", let go");
    }
}

}  // namespace

#endif  // _WIN32
