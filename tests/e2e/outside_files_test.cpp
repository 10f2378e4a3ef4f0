// outside_files_test.cpp: an update of a game folder its player can write to changes nothing
// outside it. Links there (to a read-only file elsewhere) are replaced, removed or moved as
// themselves by the update, its putting back, the quick-start deletion and the leftover clean-up;
// a source that is no regular file (a FIFO, a folder) is refused at the source check without
// waiting on it.
// Unattended runs of the real entry on real files, links and FIFOs.
#ifndef _WIN32
#include <sys/stat.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "framework/exit_code.h"
#include "framework/qbio.h"
#include "tests/e2e/wizard_session.h"

namespace fs = std::filesystem;

namespace {

struct Case {
    const char* label;
    const char* place;  // the link made in the game folder, or the source replaced in the update folder
    std::function<void(const std::string& path)> make;
    int code;
};

TEST(OutsideFiles, LinksAreChangedAsThemselvesAndNoSourceIsWaitedOn) {
    TempFolder elsewhere;
    const std::string outside = elsewhere.Join("outside.txt");
    const auto link = [&outside](const std::string& p) { fs::remove(p), fs::create_symlink(outside, p); };
    const auto fifo = [](const std::string& p) { fs::remove(p), mkfifo(p.c_str(), 0644); };
    const auto folder = [](const std::string& p) { fs::remove(p), fs::create_directory(p); };
    const Case cases[] = {
        {"data\\city.dat a link", "game/data/city.dat", link, ExitUpdated},
        {"tlf.icd a link", "game/tlf.icd", link, ExitUpdated},
        {"a link in qstart", "game/qstart/link.qst", link, ExitUpdated},
        {"a dead run's leftover a link", "game/~tlf99999999-1.tmp", link, ExitUpdated},
        {"data\\city.dat a link, put back after a write failure", "game/data/city.dat",
         [&](const std::string& p) { link(p), folder(fs::path(p).parent_path().parent_path().append("readme.txt").string()); }, ExitWriteFailed},
        {"update.dat a FIFO", "update/update.dat", fifo, ExitSourceMissing},
        {"update.dat a folder", "update/update.dat", folder, ExitSourceMissing},
        {"readme_eng.txt a FIFO", "update/readme_eng.txt", fifo, ExitSourceMissing},
        {"SHA256SUMS a FIFO", "update/SHA256SUMS", fifo, ExitSourceMissing},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileText(outside, "not the game's\n") && chmod(outside.c_str(), 0444) == 0);
        WizardSession s;
        s.AddQuickStartFiles();
        const std::string place = JoinNative(s.root.path, c.place);
        c.make(place);
        ScopedCurrentFolder here(s.updateFolder);
        testing::internal::CaptureStderr();
        EXPECT_EQ(RunWinMain(nullptr, "/VERYSILENT"), c.code) << c.label;
        const std::string said = testing::internal::GetCapturedStderr();
        struct stat info {};
        EXPECT_TRUE(stat(outside.c_str(), &info) == 0 && (info.st_mode & 07777) == 0444) << c.label;
        std::vector<unsigned char> bytes;
        EXPECT_TRUE(ReadFileBytes(outside, &bytes) && std::string(bytes.begin(), bytes.end()) == "not the game's\n") << c.label;
        if (c.code != ExitWriteFailed) { EXPECT_EQ(GameDiffersFrom(s, c.code == ExitUpdated), "") << c.label; }
        EXPECT_EQ(fs::is_symlink(place), c.code == ExitWriteFailed) << c.label << ": the link replaced or gone, or put back as itself";
        if (c.code == ExitSourceMissing) { EXPECT_NE(said.find('"' + fs::path(place).filename().string() + '"'), std::string::npos) << said; }
        fs::remove(outside);
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
