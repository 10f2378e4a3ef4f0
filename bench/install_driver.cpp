// install_driver.cpp: the whole-process figures of tools/run_benchmarks.sh, on the headless
// backend with no frame pacing. The current folder is the delivered update (update.dat, the
// language readmes, the fonts); on Linux the record is TLF_REGISTRY.
//
//   tlf_bench_driver startup            first frame: prints first_frame_epoch_us, the wall
//                                       clock when the language page has been presented (the
//                                       script subtracts the time it started the process)
//   tlf_bench_driver install            a scripted English install: language, Next, the
//                                       update's frames, Finish; prints the frame count and the
//                                       seconds from Next to the end of the update and of the run
//   tlf_bench_driver table              the packed entries in package order, one line each:
//                                       the file name and its subfolder with '/' (for cat and cp)
//   tlf_bench_driver extract <game>     every entry into <game> as the wizard's update steps do
//                                       (ExtractPackageEntry, the English readme installed in
//                                       place of "readme.txt"), without the wizard around it
//
// Lines of output are "name value", one figure each. Exit code 0 when the run did what it should.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/texts.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/wizard_session.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

int RunStartup() {
    WizardSession session(".");
    const bool started = session.Start();
    const auto presented = std::chrono::system_clock::now();
    const std::vector<HeadlessRect>& rects = HeadlessPresentedRects();
    const bool wholePage = started && !rects.empty() && rects.back().width == HeadlessScreenWidth() &&
                           rects.back().height == HeadlessScreenHeight() && session.State() == StateChooseLanguage;
    std::printf("first_frame_epoch_us %lld\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::microseconds>(presented.time_since_epoch()).count()));
    if (!wholePage) std::fprintf(stderr, "startup: the language page was not presented\n");
    return wholePage ? 0 : 1;
}

int RunInstall() {
    const auto begin = Clock::now();
    WizardSession session(".");
    if (!session.Start() || !session.ChooseLanguage(LanguageEnglish) || session.State() != StateConfirmVersions) {
        std::fprintf(stderr, "install: the version page was not reached (state %d)\n", session.State());
        return 1;
    }
    // From Next: the frames that deliver the click run the first update steps too.
    const auto updateBegin = Clock::now();
    if (!session.ClickSlot(4) || session.State() != StateUpdating) {
        std::fprintf(stderr, "install: Next did not start the update\n");
        return 1;
    }
    int frames = 0;
    while (session.State() == StateUpdating && frames < 1000 && session.Frame()) ++frames;
    const double updateSeconds = SecondsSince(updateBegin);
    const int16_t reached = session.State();
    if (reached == StateCompleted) session.ClickSlot(4);  // Finish
    session.Shutdown();
    std::printf("update_frames %d\nupdate_seconds %.6f\nsession_seconds %.6f\n", frames, updateSeconds,
                SecondsSince(begin));
    if (reached != StateCompleted) {
        std::fprintf(stderr, "install: ended on state %d, not the completed page\n", reached);
        return 1;
    }
    return 0;
}

int PrintTable() {
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        if (IsReadmeEntry(entry)) continue;
        std::string subfolder = UpdateFileSubfolder(entry);
        for (char& c : subfolder) c = c == '\\' ? '/' : c;
        std::printf("%s %s\n", UpdateFileName(entry), subfolder.c_str());
    }
    return 0;
}

int RunExtract(const char* gameFolder) {
    const auto begin = Clock::now();
    for (int entry = 0; entry < UpdateFileCount; ++entry) {
        char target[520];
        bool packageFault = false;
        bool done = UpdateFileTarget(gameFolder, entry, target, sizeof target);
        if (done) {
            done = IsReadmeEntry(entry) ? InstallReadme(ReadmeFileName[LanguageEnglish], target)
                                        : ExtractPackageEntry(entry, target, packageFault);
        }
        if (!done) {
            std::fprintf(stderr, "extract: entry %d (%s) failed\n", entry, UpdateFileName(entry));
            return 1;
        }
    }
    std::printf("extract_seconds %.6f\n", SecondsSince(begin));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "startup") == 0) return RunStartup();
    if (argc >= 2 && std::strcmp(argv[1], "install") == 0) return RunInstall();
    if (argc >= 2 && std::strcmp(argv[1], "table") == 0) return PrintTable();
    if (argc >= 3 && std::strcmp(argv[1], "extract") == 0) return RunExtract(argv[2]);
    std::fprintf(stderr, "usage: %s startup | install | table | extract <game folder>\n", argv[0]);
    return 2;
}
