// wizard_session.cpp: see wizard_session.h.
#include "tests/e2e/wizard_session.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "gfx/button.h"
#include "package/install_record.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"

namespace fs = std::filesystem;

namespace {

// The committed fonts. Under Wine the source folder is reached through the drive that maps "/".
std::string FontFolder() {
#ifdef _WIN32
    return std::string("Z:") + TLF_SOURCE_DIR + "/data/fonts";
#else
    return std::string(TLF_SOURCE_DIR) + "/data/fonts";
#endif
}

const char* const kFontFiles[] = {"arial_narrow_10.fnt", "arial_narrow_11.fnt", "arial_14.fnt", "arial_16.fnt",
                                  "arial_18.fnt",        "trade_cond_24_bold.fnt", "trade_cond_28_bold.fnt"};

}  // namespace

std::string NewContents(int index) {
    std::string text = std::string("new ") + UpdateFileName(index) + " of the update\n";
    for (int i = 0; i < 20 + index * 7; ++i) text += static_cast<char>('a' + (i * 7 + index) % 26);
    return text;
}

std::string OldContents(int index) { return std::string("old ") + UpdateFileName(index) + " of the installed game\n"; }

std::string ReadmeContents(int language) {
    return std::string("Readme of the update in language ") + std::to_string(language) + "\n";
}

void ResetFrameworkAndBackend() {
    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    HeadlessResetCursors();
}

std::string JoinNative(const std::string& folder, const std::string& relative) {
    return (fs::path(folder) / fs::path(relative).make_preferred()).string();
}

WizardSession::WizardSession() {
    // The framework has one application at a time; a second live session would lose the first.
    EXPECT_EQ(gFramework.registeredApp, nullptr) << "one WizardSession at a time: end the last one first";
    ResetFrameworkAndBackend();
    updateFolder = root.Join("update");
    gameFolder = root.Join("game");
    EXPECT_TRUE(MakeFolder(updateFolder));
    EXPECT_TRUE(MakeFolder(gameFolder));
    EXPECT_TRUE(MakeFolder(JoinNative(gameFolder, "data")));
    EXPECT_TRUE(MakeFolder(JoinNative(gameFolder, "pictures")));

    for (const char* font : kFontFiles) {
        std::error_code error;
        fs::copy_file(fs::path(FontFolder()) / font, fs::path(updateFolder) / font, error);
        EXPECT_FALSE(error) << font << ": " << error.message();
    }
    for (int i = 0; i < LanguageCount; ++i) {
        EXPECT_TRUE(WriteFileText(JoinNative(updateFolder, ReadmeFileName[i]), ReadmeContents(i)));
    }
    {
        // Packed with the program's own packer from loose files, which are then taken away: the
        // delivered folder holds only the package.
        ScopedCurrentFolder inUpdate(updateFolder);
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) {
                EXPECT_TRUE(WriteFileText(JoinNative(updateFolder, UpdateFileName(i)), NewContents(i)));
            }
        }
        EXPECT_TRUE(BuildUpdatePackage());
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) fs::remove(JoinNative(updateFolder, UpdateFileName(i)));
        }
    }

    // The installed game: a few old files where the update puts new ones.
    const int oldEntries[] = {0, 9, 12, 44, 45};  // tlf.exe, pics.cfg, city.dat, readme.txt, changes.txt
    for (int i : oldEntries) {
        std::string sub = UpdateFileSubfolder(i);
        std::string relative = sub == "\\" ? "" : sub.substr(1, sub.size() - 2) + "/";
        EXPECT_TRUE(WriteFileText(JoinNative(gameFolder, relative + UpdateFileName(i)), OldContents(i)));
    }
    EXPECT_TRUE(WriteFileText(JoinNative(gameFolder, "tlf.icd"), "cached index of the old data\n"));

#ifndef _WIN32
    registryFile = root.Join("registry.reg");
    setenv("TLF_REGISTRY", registryFile.c_str(), 1);
#endif
    SetRecord("Version", "Release");
    SetRecord("Location", gameFolder);
}

WizardSession::WizardSession(const std::string& existingUpdateFolder) : updateFolder(existingUpdateFolder) {
    EXPECT_EQ(gFramework.registeredApp, nullptr) << "one WizardSession at a time: end the last one first";
    ResetFrameworkAndBackend();
    ownsRecord = false;
}

WizardSession::~WizardSession() {
    Shutdown();
#ifndef _WIN32
    if (ownsRecord) unsetenv("TLF_REGISTRY");
#endif
    ResetFrameworkAndBackend();
}

void WizardSession::SetRecord(const char* valueName, const std::string& text) {
    EXPECT_TRUE(WriteRegistryString(ProductSubkey, valueName, text.c_str())) << valueName;
}

void WizardSession::AddQuickStartFiles() {
    EXPECT_TRUE(MakeFolder(JoinNative(gameFolder, "qstart")));
    EXPECT_TRUE(WriteFileText(JoinNative(gameFolder, "qstart/league.qst"), "old quick start\n"));
    EXPECT_TRUE(WriteFileText(JoinNative(gameFolder, "qstart/cup.qst"), "old quick start\n"));
    EXPECT_TRUE(WriteFileText(JoinNative(gameFolder, "qstart/notes.txt"), "not a quick start\n"));
}

bool WizardSession::Start(const char* commandLine) {
    Shutdown();
    ended = false;
    current = new ScopedCurrentFolder(updateFolder);
    gFramework.commandLine = commandLine;
    app = static_cast<InstallerApp*>(CreateApplication());
    gFramework.application = app;
    gFramework.running = 1;
    if (app == nullptr || gFramework.registeredApp == nullptr) {
        ended = true;
        return false;
    }
    return Frame();
}

bool WizardSession::Frame() {
    if (ended || app == nullptr) return false;
    if (!app->RunFrame() || gFramework.quitRequested == 1) {
        ended = true;
        return false;
    }
    app->PumpMessages();
    return true;
}

bool WizardSession::RunUntilState(int16_t wanted, int maxFrames) {
    for (int i = 0; i < maxFrames && !ended; ++i) {
        if (State() == wanted) return true;
        Frame();
    }
    return !ended && State() == wanted;
}

bool WizardSession::ClickSlot(int slot) {
    if (ended) return false;
    Button* button = app->buttons[slot];
    EXPECT_NE(button, nullptr) << "no Button in slot " << slot;
    if (button == nullptr) return false;
    HeadlessPostClick(button->x + button->width / 2, button->y + button->height / 2);
    for (int i = 0; i < 3; ++i) {
        if (!Frame()) return false;
    }
    return true;
}

bool WizardSession::PressKey(int virtualKey) {
    HeadlessPostKeyPress(virtualKey);
    return Frame() && Frame();
}

bool WizardSession::Type(const std::string& text) {
    HeadlessPostTypeText(text.c_str());
    for (size_t i = 0; i <= text.size(); ++i) {
        if (!Frame()) return false;
    }
    return true;
}

bool WizardSession::ChooseLanguage(int language) {
    for (int slot = 1; slot < WizardSlotCount; ++slot) {
        if (Action(slot) == ActionChooseLanguage && Argument(slot) == language) return ClickSlot(slot);
    }
    ADD_FAILURE() << "no Button for language " << language;
    return false;
}

bool WizardSession::RunUpdate() {
    EXPECT_EQ(State(), StateConfirmVersions);
    if (!ClickSlot(4)) return false;
    for (int i = 0; i < 100 && !ended && State() == StateUpdating; ++i) Frame();
    return !ended;
}

void WizardSession::InstallToCompletion() {
    ASSERT_TRUE(Start());
    ASSERT_TRUE(ChooseLanguage(LanguageEnglish));
    ASSERT_EQ(State(), StateConfirmVersions);
    ASSERT_TRUE(RunUpdate());
    ASSERT_EQ(State(), StateCompleted);
}

int16_t WizardSession::State() const { return app != nullptr ? app->state : -1; }

std::string WizardSession::Caption(int slot) const {
    return app != nullptr && app->buttons[slot] != nullptr ? app->buttons[slot]->label : "";
}

int32_t WizardSession::Action(int slot) const {
    return app != nullptr && app->buttons[slot] != nullptr ? app->buttons[slot]->action : -99;
}

int32_t WizardSession::Argument(int slot) const {
    return app != nullptr && app->buttons[slot] != nullptr ? app->buttons[slot]->argument : -99;
}

std::string WizardSession::RecordVersion() const {
    char version[WizardTextSize];
    if (!ReadRegistryValue(ProductSubkey, "Version", version, sizeof version)) return "";
    return version;
}

bool WizardSession::ReadGameFile(const std::string& relative, std::string* contents) const {
    std::vector<unsigned char> bytes;
    if (!ReadFileBytes(JoinNative(gameFolder, relative), &bytes)) return false;
    contents->assign(bytes.begin(), bytes.end());
    return true;
}

std::string WizardSession::GameFile(const std::string& relative) const {
    std::string contents;
    return ReadGameFile(relative, &contents) ? contents : std::string();
}

bool WizardSession::GameFileExists(const std::string& relative) const {
    return FileExists(JoinNative(gameFolder, relative));
}

void WizardSession::Shutdown() {
    if (app != nullptr) {
        gFramework.running = 0;
        DeleteApplication(app);
        app = nullptr;
    }
    ended = true;
    delete current;
    current = nullptr;
}
