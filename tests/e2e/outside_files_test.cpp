// outside_files_test.cpp: an update of a game folder its player can write to changes nothing
// outside it. Links there (to a read-only file elsewhere) are replaced, removed or moved as
// themselves by the update, its putting back, the quick-start deletion and the leftover clean-up;
// a source that is no regular file (a FIFO, a folder) is refused at the source check without
// waiting on it; a link put in place of the kept folder during the update, or found there by the
// next start, leads nowhere. Unattended runs of the real entry on real files, links and FIFOs
// ("data" as a link, and a link in it, are rows of tests/scripts/folder_names_test.sh, which runs
// both real programs).
#ifndef _WIN32
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <functional>

#include "framework/exit_code.h"
#include "framework/qbio.h"
#include "package/update_unit.h"
#include "tests/e2e/wizard_session.h"

namespace fs = std::filesystem;

namespace {

struct Case {
    const char* label;
    const char* place;  // the link made in the game folder, or the source replaced in the update folder
    std::function<void(const std::string& path)> make;
    int code;
    bool asItWas = false;  // after a write failure: the game as it was (a link at a name of the unit's aside)
    std::string says = "";  // in the log, when given
};

// The unit's steps (update_unit.h) reach the row's own step function.
std::function<void(const char*)> gAtStep;
void AtStep(const char* step) { gAtStep(step); }

// Every name below `folder` with its mode and bytes (a link's target instead), not followed.
std::string Inventory(const std::string& folder) {
    std::string listing;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat info {};
        lstat(entry.path().c_str(), &info);
        std::vector<unsigned char> bytes;
        if (S_ISREG(info.st_mode)) ReadFileBytes(entry.path().string(), &bytes);
        listing += entry.path().string() + " " + std::to_string(info.st_mode) + " " + std::string(bytes.begin(), bytes.end()) +
                   (S_ISLNK(info.st_mode) ? fs::read_symlink(entry.path()).string() : "") + "\n";
    }
    return listing;
}

TEST(OutsideFiles, LinksAreChangedAsThemselvesAndNoSourceIsWaitedOn) {
    TempFolder elsewhere;
    const std::string outside = elsewhere.Join("outside.txt");
    const auto link = [&outside](const std::string& p) { fs::remove(p), fs::create_symlink(outside, p); };
    const auto fifo = [](const std::string& p) { fs::remove(p), mkfifo(p.c_str(), 0644); };
    const auto folder = [](const std::string& p) { fs::remove(p), fs::create_directory(p); };
    // The kept folder, empty before its first file, removed and a link to the outside put there.
    const auto keptLinkAtFirstFile = [&](const std::string& p) {
        UpdateUnitFaultPoint = AtStep;
        gAtStep = [&, p](const char* step) {
            if (std::strcmp(step, "keep") != 0 || fs::is_symlink(p)) return;
            fs::remove(p), fs::create_directory_symlink(elsewhere.path, p);
        };
    };
    // A dead run's journal (cut short, as by a power cut) and a link as its kept folder, to a folder
    // holding a file under the name of a kept one.
    const auto deadRunsKeptLink = [&](const std::string& p) {
        fs::create_directories(elsewhere.Join("kept"));
        WriteFileText(elsewhere.Join("kept/00"), "not the game's either\n");
        WriteFileText(fs::path(p).parent_path().append(UpdateJournalName).string(), "");
        fs::create_directory_symlink(elsewhere.Join("kept"), p);
    };
    const Case cases[] = {
        {"tlf.icd a link", "game/tlf.icd", link, ExitUpdated},
        {"a link in qstart", "game/qstart/link.qst", link, ExitUpdated},
        {"a dead run's leftover a link", "game/~tlf99999999-1.tmp", link, ExitUpdated},
        {"data\\city.dat a link, put back after a write failure", "game/data/city.dat",
         [&](const std::string& p) { link(p), folder(fs::path(p).parent_path().parent_path().append("readme.txt").string()); }, ExitWriteFailed},
        {"update.dat a FIFO", "update/update.dat", fifo, ExitSourceMissing},
        {"update.dat a folder", "update/update.dat", folder, ExitSourceMissing},
        {"readme_eng.txt a FIFO", "update/readme_eng.txt", fifo, ExitSourceMissing},
        {"SHA256SUMS a FIFO", "update/SHA256SUMS", fifo, ExitSourceMissing},
        {"the kept folder a link from its first file on", "game/~tlfupdate.kept", keptLinkAtFirstFile, ExitWriteFailed, true},
        {"the kept folder a link at the next start", "game/~tlfupdate.kept", deadRunsKeptLink, ExitWriteFailed, false,
         "could not be put back"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileText(outside, "not the game's\n") && chmod(outside.c_str(), 0444) == 0);
        WizardSession s;
        s.AddQuickStartFiles();
        const std::string place = JoinNative(s.root.path, c.place);
        c.make(place);
        const std::string before = Inventory(elsewhere.path);
        ScopedCurrentFolder here(s.updateFolder);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunWinMain(nullptr, "/VERYSILENT"), c.code) << c.label;
        const std::string said = testing::internal::GetCapturedStderr();
        UpdateUnitFaultPoint = nullptr;
        EXPECT_EQ(Inventory(elsewhere.path), before) << c.label;
        EXPECT_EQ(fs::is_symlink(place), c.code == ExitWriteFailed) << c.label << ": the link replaced or gone, or put back as itself";
        // A link at a name of the unit's own is the row's plant, not the game's.
        if (c.asItWas && fs::path(place).filename().string().rfind("~tlf", 0) == 0) fs::remove(place);
        if (c.code != ExitWriteFailed || c.asItWas) { EXPECT_EQ(GameDiffersFrom(s, c.code == ExitUpdated), "") << c.label; }
        if (c.code == ExitSourceMissing) { EXPECT_NE(said.find('"' + fs::path(place).filename().string() + '"'), std::string::npos) << said; }
        EXPECT_NE(said.find(c.says), std::string::npos) << c.label << ": " << said;
        for (const auto& entry : fs::directory_iterator(elsewhere.path)) fs::remove_all(entry.path());
    }
}

// A link put into the kept folder during the update where a marker of a new file will go: the
// marker is never written through it (the file it names stays whole), the entry fails as a
// write, and Exit leaves the game as it was.
TEST(OutsideFiles, AMarkerIsNeverWrittenThroughALink) {
    TempFolder elsewhere;
    const std::string outside = elsewhere.Join("important");
    ASSERT_TRUE(WriteFileText(outside, "not the game's\n"));
    WizardSession s;
    ASSERT_TRUE(s.Start() && s.ChooseLanguage() && s.ClickSlot(4) && s.Frame() && s.Frame());  // the check, entry 0
    ASSERT_EQ(symlink(outside.c_str(), JoinNative(s.gameFolder, "~tlfupdate.kept/01.new").c_str()), 0);
    ASSERT_TRUE(s.RunUntilState(StateWriteFailed));
    EXPECT_EQ(s.App().fileCounter, 2);  // entry 1, which the game did not have
    s.Shutdown();
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(ReadFileBytes(outside, &bytes) && std::string(bytes.begin(), bytes.end()) == "not the game's\n");
}

}  // namespace
#endif
