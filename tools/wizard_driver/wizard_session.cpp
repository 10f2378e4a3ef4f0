// wizard_session.cpp: see wizard_session.h.
#include "tools/wizard_driver/wizard_session.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/texts.h"
#include "framework/framework_state.h"
#include "gfx/button.h"
#include "package/install_record.h"
#include "package/update_file_table.h"
#include "package/update_package.h"
#include "platform/headless/headless.h"

namespace fs = std::filesystem;

std::string NewContents(int index) {
    std::string text = std::string("new ") + UpdateFileName(index) + " of the update\n";
    for (int i = 0; i < 20 + index * 7; ++i) text += static_cast<char>('a' + (i * 7 + index) % 26);
    return text;
}

std::string OldContents(int index) { return std::string("old ") + UpdateFileName(index) + " of the installed game\n"; }

std::string ReadmeContents(int language) {
    return std::string("Readme of the update in language ") + std::to_string(language) + "\n";
}

std::string EntryPath(int i) {
    const std::string sub = UpdateFileSubfolder(i);
    return (sub == "\\" ? std::string() : sub.substr(1, sub.size() - 2) + "/") + UpdateFileName(i);
}

std::string JoinNative(const std::string& folder, const std::string& relative) {
    return (fs::path(folder) / fs::path(relative).make_preferred()).string();
}

WizardSession::WizardSession() {
    Need(gFramework.registeredApp == nullptr, "one WizardSession at a time");
    ResetFrameworkAndBackend();
    updateFolder = root.Join("update");
    gameFolder = root.Join("game");
    for (const char* folder : {"", "/data", "/pictures"}) Need(MakeFolder(gameFolder + folder), "game folder");
    Need(MakeFolder(updateFolder), "update folder");
    for (const auto& font : fs::directory_iterator(CommittedFontFolder())) {
        if (font.path().extension() == ".fnt") fs::copy_file(font.path(), fs::path(updateFolder) / font.path().filename());
    }
    for (int i = 0; i < LanguageCount; ++i) {
        Need(WriteFileText(JoinNative(updateFolder, ReadmeFileName[i]), ReadmeContents(i)), "readme");
    }
    {
        // Packed by the program's own packer; the delivered folder then holds only the package.
        ScopedCurrentFolder inUpdate(updateFolder);
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) Need(WriteFileText(UpdateFileName(i), NewContents(i)), "loose file");
        }
        Need(BuildUpdatePackage(), "packing update.dat");
        for (int i = 0; i < UpdateFileCount; ++i) {
            if (!IsReadmeEntry(i)) fs::remove(UpdateFileName(i));
        }
    }
    for (int i : {0, 9, 12, 44, 45}) Need(WriteFileText(JoinNative(gameFolder, EntryPath(i)), OldContents(i)), "old file");
    Need(WriteFileText(JoinNative(gameFolder, "tlf.icd"), "cached index of the old data\n"), "tlf.icd");
#ifndef _WIN32
    registryFile = root.Join("registry.reg");
    setenv("TLF_REGISTRY", registryFile.c_str(), 1);
#endif
    SetRecord("Version", "Release");
    SetRecord("Location", gameFolder);
}

WizardSession::WizardSession(const std::string& existingUpdateFolder) : updateFolder(existingUpdateFolder) {
    Need(gFramework.registeredApp == nullptr, "one WizardSession at a time");
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
    Need(WriteRegistryString(ProductSubkey, valueName, text.c_str()), valueName);
}

void WizardSession::AddQuickStartFiles() {
    Need(MakeFolder(JoinNative(gameFolder, "qstart")), "qstart");
    for (const char* name : {"qstart/league.qst", "qstart/cup.qst", "qstart/notes.txt"}) {
        Need(WriteFileText(JoinNative(gameFolder, name), "old quick start\n"), name);
    }
}

void WizardSession::Need(bool condition, const std::string& what) {
    if (condition) return;
    std::fprintf(stderr, "WizardSession: %s failed\n", what.c_str());
    ready = false;
}

bool WizardSession::Start(const char* commandLine) {
    Shutdown();
    if (!ready) return false;
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

bool WizardSession::Settle() {
    for (int i = 0; i < 1000 && HeadlessQueuedMessageCount() > 0; ++i) {
        if (!Frame()) return false;
    }
    return HeadlessQueuedMessageCount() == 0 && Frame();
}

bool WizardSession::RunUntilState(int16_t wanted, int maxFrames) {
    for (int i = 0; i < maxFrames && !ended && State() != wanted; ++i) Frame();
    return !ended && State() == wanted;
}

bool WizardSession::ClickSlot(int slot) {
    Button* button = ended ? nullptr : app->buttons[slot];
    if (button == nullptr) std::fprintf(stderr, "WizardSession: no Button in slot %d\n", slot);
    if (button == nullptr) return false;
    HeadlessPostClick(button->x + button->width / 2, button->y + button->height / 2);
    return Settle();
}

bool WizardSession::PressKey(int virtualKey) {
    HeadlessPostKeyPress(virtualKey);
    return Settle();
}

bool WizardSession::Type(const std::string& text) {
    HeadlessPostTypeText(text.c_str());
    return Settle();
}

bool WizardSession::ChooseLanguage(int language) {
    for (int slot = 1; slot < WizardSlotCount && !ended; ++slot) {
        const Button* b = app->buttons[slot];
        if (b != nullptr && b->action == ActionChooseLanguage && b->argument == language) return ClickSlot(slot);
    }
    std::fprintf(stderr, "WizardSession: no Button for language %d\n", language);
    return false;
}

bool WizardSession::RunUpdate() {
    if (State() != StateConfirmVersions || !ClickSlot(4)) return false;
    for (int i = 0; i < 100 && !ended && State() == StateUpdating; ++i) Frame();
    return !ended;
}

bool WizardSession::InstallToCompletion() {
    return Start() && ChooseLanguage(LanguageEnglish) && RunUpdate() && State() == StateCompleted;
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

int16_t WizardSession::State() const { return app != nullptr ? app->state : -1; }

std::string WizardSession::Caption(int slot) const {
    return app != nullptr && app->buttons[slot] != nullptr ? app->buttons[slot]->label : "";
}

std::string WizardSession::RecordVersion() const {
    char version[WizardTextSize];
    return ReadRegistryValue(ProductSubkey, "Version", version, sizeof version) ? version : "";
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
