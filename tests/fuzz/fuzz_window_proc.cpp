// fuzz_window_proc.cpp: the installer, running in the headless window, fed random sequences of
// window messages through MainWindowProc: sizes, paints, keys, characters, pointer moves,
// buttons, the wheel, the close request and messages the procedure passes on.
//
// The scratch folder holds the fonts, the seven readmes and an installed game, but no
// "update.dat", so the wizard can go anywhere up to the update and then only to the page of a
// missing source: no game file is ever written. Input byte 0 may start the wizard on the folder
// page, where characters are typed into the game folder. Sizes are kept within 0 to 640 by 0 to
// 480 pixels, around the wizard's 550 by 350: the headless screen takes a size word as unsigned
// (a word beyond 32767 would ask it for gigabytes), and large pages only slow the search down.
//
// Promises: no crash, no leak, no sanitizer report; the program ends after the close request;
// the folder typed never exceeds 199 characters.
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>
#include <unistd.h>

#include "app/installer_app.h"
#include "app/texts.h"
#include "framework/display.h"
#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "package/install_record.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int kMostMessages = 128;

void PrepareInstallation() {
    FuzzEnterScratchFolder();
    for (const auto& font : std::filesystem::directory_iterator(FuzzFontFolder())) {
        if (font.path().extension() == ".fnt") std::filesystem::copy_file(font.path(), FuzzScratchPath(font.path().filename().string()));
    }
    for (int i = 0; i < LanguageCount; ++i) {
        if (!WriteFileText(FuzzScratchPath(ReadmeFileName[i]), "readme\n")) std::abort();
    }
    const std::string game = FuzzScratchPath("game");
    if (!MakeFolder(game) || !WriteFileText(game + "/tlf.exe", "exe")) std::abort();
    setenv("TLF_REGISTRY", FuzzScratchPath("registry.reg").c_str(), 1);
    if (!WriteRegistryString(ProductSubkey, "Version", "Release") || !WriteRegistryString(ProductSubkey, "Location", game.c_str()))
        std::abort();
}

// Input kinds 0 to 14 post these messages; 15 any message the procedure leaves to the system; 16
// ends a frame.
const uint32_t kMessages[] = {
    WindowMessageSize,           WindowMessagePaint,           WindowMessageClose,          WindowMessageGetMinMaxInfo,
    WindowMessageKeyDown,        WindowMessageKeyUp,           WindowMessageChar,           WindowMessageMouseMove,
    WindowMessageLeftButtonDown, WindowMessageLeftButtonUp,    WindowMessageRightButtonDown, WindowMessageRightButtonUp,
    WindowMessageMiddleButtonDown, WindowMessageMiddleButtonUp, WindowMessageMouseWheel};

// Reads the input as messages; each takes a kind byte and up to four parameter bytes.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool More() const { return at < size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
};

MinMaxInfo gMinMax;  // WM_GETMINMAXINFO points here: it must outlive the queued message

void PostMessages(Reader& in) {
    for (int n = 0; n < kMostMessages && in.More(); ++n) {
        const uint8_t kind = in.Byte() % 17;
        if (kind == 16) {
            HeadlessEndFrame();
            continue;
        }
        uint32_t message = kind < 15 ? kMessages[kind] : in.Word();
        uintptr_t wParam = 0;
        intptr_t lParam = 0;
        if (kind == 15) {
            wParam = in.Word();
            lParam = in.Word();
            if (std::find(std::begin(kMessages), std::end(kMessages), message) != std::end(kMessages)) continue;
        } else if (message == WindowMessageSize) {
            wParam = in.Byte() % 4;
            const uint16_t width = in.Word(), height = in.Word();
            lParam = PackPointParam(width % 641, height % 481);
        } else if (message == WindowMessageGetMinMaxInfo) {
            lParam = reinterpret_cast<intptr_t>(&gMinMax);
        } else if (message == WindowMessageKeyDown || message == WindowMessageKeyUp) {
            wParam = in.Byte();
        } else if (message == WindowMessageChar) {
            wParam = in.Word();
        } else if (message == WindowMessageMouseMove) {
            // Mostly inside the 550 x 350 window, where the Buttons are; any word otherwise.
            const uint16_t x = in.Word(), y = in.Word();
            lParam = (x & 0x8000) == 0 ? PackPointParam(x % 560, y % 360) : PackPointParam(x, y);
        } else if (message == WindowMessageMouseWheel) {
            wParam = static_cast<uintptr_t>(in.Word()) << 16;
        }
        HeadlessPostMessage(message, wParam, lParam);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (PrepareInstallation(), true);
    (void)ready;

    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    HeadlessResetCursors();

    Reader in{data, size};
    const bool startOnFolderPage = (in.Byte() & 1) != 0;
    PostMessages(in);
    HeadlessEndFrame();
    HeadlessPostClose();

    gFramework.commandLine = "";
    InstallerApp* app = static_cast<InstallerApp*>(CreateApplication());
    FUZZ_CHECK(app != nullptr, "the application is made");
    gFramework.application = app;
    gFramework.running = 1;
    if (startOnFolderPage && app->IsGraphicsOpen()) {
        app->state = StateEnterFolder;
        app->Redraw();
    }
    // The main loop, bounded: every frame of the script and the close request end it.
    for (int frame = 0; frame < 4 * kMostMessages + 8; ++frame) {
        if (!app->RunFrame() || gFramework.quitRequested == 1) break;
        FUZZ_CHECK(std::strlen(app->gameFolder) < WizardTextSize, "the folder stays within its buffer");
        app->PumpMessages();
    }
    FUZZ_CHECK(HeadlessQueuedMessageCount() == 0 || gFramework.quitRequested == 1 || !app->IsGraphicsOpen() || app->quit,
               "the program ran until its script was used up or it ended");
    gFramework.running = 0;
    DeleteApplication(app);
    FUZZ_CHECK(gFramework.registeredApp == nullptr, "the application is gone");
    return 0;
}
