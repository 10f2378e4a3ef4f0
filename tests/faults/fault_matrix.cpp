// fault_matrix.cpp: see fault_matrix.h.
#include "tests/faults/fault_matrix.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "app/texts.h"
#include "package/update_file_table.h"

namespace fs = std::filesystem;

namespace {

int gFaultCases = 0;

// Prints the number of fault cases when the program ends, for docs/RELIABILITY.md.
class FaultCaseReport : public ::testing::Environment {
public:
    void TearDown() override {
        std::printf("[ fault matrix ] %d fault cases run; every one checked for lost, half-written and "
                    "temporary files\n",
                    gFaultCases);
    }
};
const auto* const gReport = ::testing::AddGlobalTestEnvironment(new FaultCaseReport);

}  // namespace

std::string EntryFolder(int i) {
    const std::string sub = UpdateFileSubfolder(i);
    return sub == "\\" ? std::string() : sub.substr(1, sub.size() - 2);
}

std::string EntryPath(int i) {
    const std::string folder = EntryFolder(i);
    return (folder.empty() ? std::string() : folder + "/") + UpdateFileName(i);
}

std::string NewEntryContents(int i) { return IsReadmeEntry(i) ? ReadmeContents(LanguageEnglish) : NewContents(i); }

bool GameHasOldEntry(int i) { return i == 0 || i == 9 || i == 12 || i == 44 || i == 45; }

int CountTemporaryFiles(const std::string& folder) {
    int count = 0;
    std::error_code error;
    for (auto it = fs::recursive_directory_iterator(folder, error); !error && it != fs::recursive_directory_iterator();
         it.increment(error)) {
        if (it->path().filename().string().find("~tlf") != std::string::npos) ++count;
    }
    return count;
}

int FirstStoppingEntry(int entry, const std::function<bool(int)>& fails) {
    for (int j = entry; j < UpdateFileCount; ++j) {
        if (fails(j) && !IsPicturesConfigEntry(j)) return j;
    }
    return UpdateFileCount;
}

void CountFaultCase() { ++gFaultCases; }

int& FaultCaseCounter() { return gFaultCases; }

void CheckAfterRun(const WizardSession& s, const RunOutcome& outcome, int shownPage, const std::string& label) {
    CountFaultCase();
    int newEntries = 0;
    for (int i = 0; i < UpdateFileCount; ++i) {
        std::string contents;
        const bool present = s.ReadGameFile(EntryPath(i), &contents);
        const bool isNew = present && contents == NewEntryContents(i);
        const bool isOld = GameHasOldEntry(i) ? present && contents == OldContents(i) : !present;
        newEntries += isNew ? 1 : 0;
        EXPECT_TRUE(isNew || isOld) << label << ": " << EntryPath(i) << " is neither its old nor its new content";
        if (outcome.installedBelow >= 0 && i < outcome.installedBelow && !IsPicturesConfigEntry(i)) {
            EXPECT_TRUE(isNew) << label << ": " << EntryPath(i) << " should be installed";
        }
        if (i == outcome.installedBelow) {
            EXPECT_TRUE(isOld) << label << ": " << EntryPath(i) << " should be untouched";
        }
    }
    EXPECT_EQ(CountTemporaryFiles(s.gameFolder), 0) << label << ": temporary file left in the game folder";
    EXPECT_EQ(CountTemporaryFiles(s.updateFolder), 0) << label << ": temporary file left in the installer's folder";
    const std::string version = s.RecordVersion();
    if (outcome.complete) {
        const int skipped = outcome.picturesSkipped ? 1 : 0;
        EXPECT_EQ(newEntries, UpdateFileCount - skipped) << label;
        EXPECT_EQ(version, NewVersionText) << label;
    } else {
        EXPECT_EQ(version, "Release") << label << ": the version changed before a complete update";
    }
    EXPECT_EQ(shownPage, outcome.page) << label << ": wrong page";
}

#ifndef _WIN32
int RunInChild(const std::function<int()>& body) {
    std::fflush(nullptr);
    const pid_t child = fork();
    if (child == 0) _exit(body());
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child) return -1;
    return status;
}

bool RunUpdateUpToEntry(WizardSession& s, int entry) {
    if (!s.Start() || !s.ChooseLanguage(LanguageEnglish) || s.State() != StateConfirmVersions) return false;
    if (!s.ClickSlot(4) || s.State() != StateUpdating) return false;
    for (int frame = 0; frame < 60 && s.App().fileCounter < entry + 1; ++frame) {
        if (!s.Frame() || s.State() != StateUpdating) return false;
    }
    return s.App().fileCounter == entry + 1;
}

int16_t FinishRun(WizardSession& s) {
    for (int frame = 0; frame < 60 && !s.Ended() && s.State() == StateUpdating; ++frame) s.Frame();
    return s.State();
}
#endif
