// leftover_files_test.cpp: the clean-up of temporary files before an update, in a real folder,
// with a second process that runs meanwhile (the wizard's use of it: wizard_install_test.cpp).
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "package/leftover_files.h"
#include "platform/platform_system.h"
#include "tests/package/other_process.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

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
