// page_catalogue.cpp: see page_catalogue.h.
#include "tools/wizard_driver/page_catalogue.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "app/installer_app.h"
#include "app/texts.h"
#include "framework/framework_state.h"
#include "package/update_package.h"
#include "platform/headless/headless.h"
#include "tools/wizard_driver/wizard_session.h"

namespace {

const char* const kStateNames[] = {"choose_language", "not_installed", "confirm_versions", "updating",
                                   "completed",       "source_missing", "install_corrupt", "quick_start_prompt",
                                   "enter_folder",    "write_failed",  "not_compatible"};
const char* const kLanguageCodes[] = {"eng", "esp", "fra", "ita", "nor", "por", "sve"};

std::string PageName(int language, int state) {
    if (language == LanguageEnglish) {
        return std::string(state < 10 ? "state_0" : "state_") + std::to_string(state) + "_" + kStateNames[state];
    }
    return std::string("language_") + kLanguageCodes[language] + "_" + kStateNames[state];
}

WriteFailureRecord InUseFailure(const char* gameFolder) {
    WriteFailureRecord failure;
    failure.reason = WriteFailureInUse;
    std::snprintf(failure.file, sizeof failure.file, "%s\\data\\club.dat", gameFolder);
    return failure;
}

bool RenderLanguage(int language, const SavePage& save) {
    WizardSession s;
    if (!s.Start() || !s.ChooseLanguage(language) || s.State() != StateConfirmVersions) return false;
    // Every page but the updating one is drawn as RunFrame draws it after a change of state.
    for (int16_t state = 0; state <= StateNotCompatible; ++state) {
        if (state == StateUpdating) continue;
        if (state == StateEnterFolder) std::snprintf(s.App().gameFolder, WizardTextSize, "%s", "c:\\games\\tlf");
        // The write-failure page as a player meets it most: a file held open by the game.
        if (state == StateWriteFailed) s.App().lastWriteFailure = InUseFailure(s.App().gameFolder);
        s.App().state = state;
        s.App().Redraw();
        save(PageName(language, state));
    }
    std::snprintf(s.App().gameFolder, WizardTextSize, "%s", s.gameFolder.c_str());
    s.App().state = StateConfirmVersions;
    s.App().Redraw();
    if (!s.ClickSlot(4)) return false;
    while (s.State() == StateUpdating && s.App().fileCounter < 20) {
        if (!s.Frame()) return false;
    }
    if (s.State() != StateUpdating) return false;
    save(PageName(language, StateUpdating));
    return true;
}

}  // namespace

bool RenderEveryPage(const SavePage& save) {
    for (int language = 0; language < LanguageCount; ++language) {
        if (!RenderLanguage(language, save)) return false;
    }
    return true;
}

bool RenderWalkPages(const std::string& version, const std::string& typedFolder, const SavePage& save) {
    {
        WizardSession s;
        s.AddQuickStartFiles();
        s.SetRecord("Version", version);
        if (!s.Start()) return false;
        save("choose_language");
        if (!s.ChooseLanguage(LanguageEnglish) || s.State() != StateConfirmVersions) return false;
        save("confirm_versions");
        if (!s.PressKey(HeadlessKeyEnter) || !s.RunUntilState(StateQuickStartPrompt)) return false;
        save("quick_start_prompt");
        if (!s.ClickSlot(4) || s.State() != StateCompleted) return false;  // Yes
        save("completed");
    }
    for (const char* fault : {"source_missing", "write_failed"}) {
        WizardSession s;
        const bool noPackage = std::string(fault) == "source_missing";
        if (noPackage) {
            std::filesystem::remove(JoinNative(s.updateFolder, "update.dat"));
        } else {
            std::filesystem::remove_all(JoinNative(s.gameFolder, "data"));
        }
        s.SetRecord("Version", version);
        if (!s.Start() || !s.ChooseLanguage(LanguageEnglish) || !s.PressKey(HeadlessKeyEnter)) return false;
        if (!s.RunUntilState(noPackage ? StateSourceMissing : StateWriteFailed)) return false;
        save(fault);
        if (noPackage || typedFolder.empty()) continue;
        if (!s.ClickSlot(3) || s.State() != StateEnterFolder) return false;  // < Back
        for (int i = 0; i < WizardTextSize && s.App().gameFolder[0] != '\0'; ++i) {
            if (!s.PressKey(HeadlessKeyBackspace)) return false;
        }
        if (!s.Type(typedFolder) || typedFolder != s.App().gameFolder) {
            std::fprintf(stderr, "the folder \"%s\" does not fit the field\n", typedFolder.c_str());
            return false;
        }
        save("enter_folder");
    }
    {
        // One byte of the first entry damaged, the package's length kept, as
        // tests/scripts/integrity_checks.sh damages it: the checksum list names "tlf.exe".
        WizardSession s;
        const std::string package = JoinNative(s.updateFolder, "update.dat");
        std::vector<unsigned char> bytes;
        if (!ReadFileBytes(package, &bytes)) return false;
        bytes[UpdatePackageHeaderSize + NewContents(0).size() / 2] ^= 0x20;
        if (!WriteFileBytes(package, bytes)) return false;
        s.SetRecord("Version", version);
        if (!s.Start() || !s.ChooseLanguage(LanguageEnglish) || !s.PressKey(HeadlessKeyEnter)) return false;
        if (!s.RunUntilState(StateSourceMissing)) return false;
        save("damaged_entry");
    }
    return true;
}

bool WriteFrameBufferPng(const std::string& folder, const std::string& name) {
    const std::string path = folder + "/" + name + ".png";
    return WriteRgb555Png(path.c_str(), gFramework.frameBuffer, gFramework.pitch, gFramework.screenWidth,
                          gFramework.screenHeight);
}
