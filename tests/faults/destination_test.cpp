// destination_test.cpp: game files and folders that resist being written: read-only targets
// (each entry in turn; they must be replaced) and a folder in which nothing can be created
// (each entry in turn; a destination fault, "pics.cfg" skipped).
//
// The read-only cases run everywhere (under Wine the attribute really blocks replacement). The
// folder cases are native only: the test runs as root in CI, where permissions stop nothing, so
// the wizard runs in a forked child that first gives up the capabilities that override them.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#ifndef _WIN32
#include <linux/capability.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "package/update_file_table.h"
#include "tests/faults/fault_matrix.h"

namespace fs = std::filesystem;

namespace {

TEST(Destination, AReadOnlyTargetIsReplacedAtEachEntry) {
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        WizardSession s;
        const std::string target = JoinNative(s.gameFolder, EntryPath(entry));
        if (!GameHasOldEntry(entry)) {
            ASSERT_TRUE(WriteFileText(target, OldContents(entry)));
        }
        fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
        s.InstallToCompletion();
        // The session's game had no old file here: the one made for the test is replaced too.
        CheckAfterRun(s, RunOutcome{StateCompleted, -1, true}, s.State(), "read-only " + EntryPath(entry));
    }
}

#ifndef _WIN32

// Gives up the capabilities that let root write where permissions say no. False when the
// system refuses (the case is then skipped).
bool DropPermissionOverrides() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2] = {};
    if (syscall(SYS_capget, &header, data) != 0) return false;
    for (int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER}) {
        data[0].effective &= ~(1u << capability);
        data[0].permitted &= ~(1u << capability);
    }
    return syscall(SYS_capset, &header, data) == 0;
}

constexpr int kCannotDrop = 99;

TEST(Destination, AFolderWhereNothingCanBeCreatedStopsAtEachEntry) {
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        WizardSession s;
        const std::string folder = JoinNative(s.gameFolder, EntryFolder(entry));
        const int status = RunInChild([&] {
            if (!DropPermissionOverrides()) return kCannotDrop;
            if (!RunUpdateUpToEntry(s, entry)) return 100;
            chmod(folder.c_str(), 0555);
            return static_cast<int>(FinishRun(s));
        });
        chmod(folder.c_str(), 0755);
        ASSERT_TRUE(WIFEXITED(status)) << "entry " << entry;
        if (WEXITSTATUS(status) == kCannotDrop) GTEST_SKIP() << "capabilities cannot be dropped here";
        // Every later entry of the same folder fails too; "pics.cfg" is the only one of its folder.
        const std::string where = EntryFolder(entry);
        const int stop = FirstStoppingEntry(entry, [&](int i) { return EntryFolder(i) == where; });
        const RunOutcome expected = stop < UpdateFileCount ? RunOutcome{StateWriteFailed, stop}
                                                           : RunOutcome{StateCompleted, stop, true, true};
        CheckAfterRun(s, expected, WEXITSTATUS(status), "no file can be created in the folder of " + EntryPath(entry));
    }
}

#endif  // _WIN32

}  // namespace
