// tlf_demo_install: the demo's scripted English install of a prepared installation, run
// headlessly by tools/demo.sh when there is no display.
//
//   TLF_REGISTRY=<record> tlf_demo_install UPDATE_FOLDER PAGES_FOLDER
//
// The wizard runs in UPDATE_FOLDER (update.dat, the readmes, the fonts) on the game the record
// names, as a player would: English, Next, the update to its end, Yes to the quick-start
// question if it comes, Finish. A PNG of every page passed goes to PAGES_FOLDER; what happened is
// printed as "demo: ..." lines. Exit code 0 when the install ended on the completed page.
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/texts.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/wizard_session.h"
#include "tools/wizard_driver/page_catalogue.h"

namespace {

const char* const kPageNames[] = {"choose_language", "not_installed", "confirm_versions", "updating",
                                  "completed",       "source_missing", "install_corrupt", "quick_start_prompt",
                                  "enter_folder",    "write_failed",  "not_compatible"};
std::string gUpdate, gPages;
int gNumber = 0;

void SavePage(int16_t state) {
    const std::string name = std::to_string(++gNumber) + "_" + kPageNames[state];
    std::printf("demo: page %-20s", kPageNames[state]);
    if (HeadlessCanWritePng() && WriteFrameBufferPng(gPages, name)) std::printf(" %s/%s.png", gPages.c_str(), name.c_str());
    std::printf("\n");
}

// The scripted install; false when it went wrong on the way.
bool ScriptedEnglishInstall() {
    WizardSession s(gUpdate);
    if (!s.Start()) return false;
    SavePage(s.State());
    if (!s.ChooseLanguage(LanguageEnglish)) return false;
    SavePage(s.State());
    if (s.State() == StateConfirmVersions) {
        std::printf("demo: installed version \"%s\" in \"%s\"\n", s.App().installedVersion, s.App().gameFolder);
        if (!s.ClickSlot(4)) return false;  // Next
        bool halfwayShown = false;
        for (int i = 0; i < 100 && s.State() == StateUpdating; ++i) {
            if (!halfwayShown && s.App().fileCounter >= 24) {
                SavePage(s.State());
                halfwayShown = true;
            }
            if (!s.Frame()) return false;
        }
        SavePage(s.State());
        if (s.State() == StateQuickStartPrompt) {
            if (!s.PressKey(HeadlessKeyEnter)) return false;  // Yes
            SavePage(s.State());
        }
    }
    const int16_t last = s.State();
    s.ClickSlot(4);  // Finish on the completed page, Exit on the others
    for (const std::string& document : HeadlessOpenedDocuments()) std::printf("demo: opened %s\n", document.c_str());
    std::printf("demo: ended on the page %s\n", kPageNames[last]);
    return s.Ended() && last == StateCompleted;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: TLF_REGISTRY=<record> %s UPDATE_FOLDER PAGES_FOLDER\n", argv[0]);
        return 2;
    }
    gUpdate = argv[1];
    gPages = std::filesystem::absolute(argv[2]).string();  // the wizard runs in UPDATE_FOLDER
    return ScriptedEnglishInstall() ? 0 : 1;
}
