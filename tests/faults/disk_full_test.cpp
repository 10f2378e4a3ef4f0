// disk_full_test.cpp: a full disk, made with a file-size limit (RLIMIT_FSIZE) in a forked child,
// during the installation of each of the 47 entries in turn and while packing "update.dat".
// Native only: the limit and fork are POSIX.
#ifndef _WIN32

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>

#include "package/update_file_table.h"
#include "package/update_package.h"
#include "tests/faults/fault_matrix.h"

namespace {

// From now on no file of this process grows beyond `bytes`; a write past it fails (EFBIG)
// instead of raising SIGXFSZ.
void LimitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{bytes, bytes};
    setrlimit(RLIMIT_FSIZE, &limit);
}

TEST(DiskFull, DuringEachEntryTheWizardStopsThereWithEveryFileWhole) {
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        WizardSession s;
        // No file can take a byte: the entry and every one after it fail, "pics.cfg" skipped.
        const int status = RunInChild([&] {
            if (!RunUpdateUpToEntry(s, entry)) return 100;
            LimitFileSize(0);
            return static_cast<int>(FinishRun(s));
        });
        ASSERT_TRUE(WIFEXITED(status)) << "entry " << entry;
        const int stop = FirstStoppingEntry(entry, [](int) { return true; });
        CheckAfterRun(s, RunOutcome{StateWriteFailed, stop}, WEXITSTATUS(status), "disk full at entry " + std::to_string(entry));
    }
}

TEST(DiskFull, ALimitInsideAnEntryLeavesNothingHalfWritten) {
    // The limit is half the largest entry: the first entry longer than that gets a temporary file
    // that takes the first bytes and then cannot grow; the smaller entries before it fit.
    WizardSession s;
    const rlim_t limit = NewContents(UpdateFileCount - 1).size() / 2;
    const int status = RunInChild([&] {
        if (!RunUpdateUpToEntry(s, 0)) return 100;
        LimitFileSize(limit);
        return static_cast<int>(FinishRun(s));
    });
    ASSERT_TRUE(WIFEXITED(status));
    const int stop = FirstStoppingEntry(0, [&](int i) { return NewEntryContents(i).size() > limit; });
    ASSERT_LT(stop, UpdateFileCount);
    CheckAfterRun(s, RunOutcome{StateWriteFailed, stop}, WEXITSTATUS(status), "disk full inside an entry");
}

// Packing: the loose files of the sample update and an old "update.dat" in a fresh folder.
struct PackFolder {
    TempFolder folder;
    int64_t packageSize = UpdatePackageHeaderSize;
    PackFolder() {
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (IsReadmeEntry(i)) continue;
            EXPECT_TRUE(WriteFileText(folder.Join(UpdateFileName(i)), NewContents(i)));
            packageSize += static_cast<int64_t>(NewContents(i).size());
        }
        EXPECT_TRUE(WriteFileText(folder.Join("update.dat"), "the old package\n"));
    }
    // Packs in a child with the file-size limit; true when packing reported success.
    bool PackWithLimit(rlim_t bytes) {
        const int status = RunInChild([&] {
            if (chdir(folder.path.c_str()) != 0) return 100;
            LimitFileSize(bytes);
            return BuildUpdatePackage() ? 0 : 1;
        });
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) <= 1) << "status " << status;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    }
    std::string Package() const {
        std::vector<unsigned char> bytes;
        ReadFileBytes(folder.Join("update.dat"), &bytes);
        return std::string(bytes.begin(), bytes.end());
    }
};

TEST(DiskFull, PackingThatRunsOutOfRoomAtAnyEntryLeavesTheOldPackage) {
    PackFolder pack;
    // One byte short of the end of the header and of each entry in turn.
    std::vector<rlim_t> limits = {0, UpdatePackageHeaderSize - 1};
    int64_t end = UpdatePackageHeaderSize;
    for (int i = 0; i < UpdateFileCount; ++i) {
        if (IsReadmeEntry(i)) continue;
        end += static_cast<int64_t>(NewContents(i).size());
        limits.push_back(static_cast<rlim_t>(end - 1));
    }
    ASSERT_EQ(end, pack.packageSize);
    for (rlim_t limit : limits) {
        CountFaultCase();
        EXPECT_FALSE(pack.PackWithLimit(limit)) << "limit " << limit;
        EXPECT_EQ(pack.Package(), "the old package\n") << "limit " << limit;
        EXPECT_EQ(CountTemporaryFiles(pack.folder.path), 0) << "limit " << limit;
    }
    // With room for exactly the package, packing succeeds and replaces the old one.
    CountFaultCase();
    EXPECT_TRUE(pack.PackWithLimit(static_cast<rlim_t>(pack.packageSize)));
    EXPECT_EQ(static_cast<int64_t>(pack.Package().size()), pack.packageSize);
    EXPECT_EQ(CountTemporaryFiles(pack.folder.path), 0);
}

}  // namespace

#endif  // _WIN32
