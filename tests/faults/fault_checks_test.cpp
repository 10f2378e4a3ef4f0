// fault_checks_test.cpp: the after-run checks of the fault matrix catch what they are there to
// catch. Each case plants one harm in an untouched installation and expects CheckAfterRun to
// report it, so a check that could never fail would show here. Runs natively and under Wine.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <string>

#include "app/texts.h"
#include "package/update_file_table.h"
#include "tests/faults/fault_matrix.h"

namespace {

// EXPECT_NONFATAL_FAILURE takes no local variables: the session under check lives here.
WizardSession* gChecked = nullptr;

struct PlantedHarm : ::testing::Test {
    WizardSession session;
    const int casesBefore = FaultCaseCounter();  // these are no fault cases: not counted
    PlantedHarm() { gChecked = &session; }
    ~PlantedHarm() override {
        gChecked = nullptr;
        FaultCaseCounter() = casesBefore;
    }
    std::string Game(const std::string& relative) const { return JoinNative(session.gameFolder, relative); }
};

TEST_F(PlantedHarm, AnUntouchedInstallationPasses) {
    CheckAfterRun(session, RunOutcome{StateSourceMissing, 0}, StateSourceMissing, "untouched");
}

TEST_F(PlantedHarm, AHalfWrittenFileIsFound) {
    ASSERT_TRUE(WriteFileText(Game("data/city.dat"), NewContents(12).substr(0, 10)));
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed}, StateWriteFailed, "planted"),
                            "data/city.dat is neither its old nor its new content");
}

TEST_F(PlantedHarm, ALostFileIsFound) {
    ASSERT_TRUE(std::remove(Game("tlf.exe").c_str()) == 0);
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed}, StateWriteFailed, "planted"),
                            "tlf.exe is neither its old nor its new content");
}

TEST_F(PlantedHarm, ALeftoverTemporaryFileIsFound) {
    ASSERT_TRUE(WriteFileText(Game("data/~tlf1-0.tmp"), "partial"));
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed}, StateWriteFailed, "planted"),
                            "temporary file left in the game folder");
}

TEST_F(PlantedHarm, AVersionWrittenBeforeTheEndIsFound) {
    session.SetRecord("Version", NewVersionText);
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed}, StateWriteFailed, "planted"),
                            "the version changed before a complete update");
}

TEST_F(PlantedHarm, AnEntryInstalledTooEarlyOrTooLateIsFound) {
    // A stop at entry 12 promises entries 0 to 11 new ("pics.cfg" may be skipped) and entry 12
    // old. Entries 1 to 11 are in; tlf.exe (0) is missing from them.
    for (int i = 1; i < 12; ++i) {
        if (!IsPicturesConfigEntry(i)) {
            ASSERT_TRUE(WriteFileText(Game(EntryPath(i)), NewEntryContents(i)));
        }
    }
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed, 12}, StateWriteFailed, "planted"),
                            "tlf.exe should be installed");
    ASSERT_TRUE(WriteFileText(Game("tlf.exe"), NewContents(0)));
    ASSERT_TRUE(WriteFileText(Game("data/city.dat"), NewContents(12)));
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed, 12}, StateWriteFailed, "planted"),
                            "data/city.dat should be untouched");
}

TEST_F(PlantedHarm, TheWrongPageIsFound) {
    EXPECT_NONFATAL_FAILURE(CheckAfterRun(*gChecked, RunOutcome{StateWriteFailed}, StateCompleted, "planted"),
                            "wrong page");
}

}  // namespace
