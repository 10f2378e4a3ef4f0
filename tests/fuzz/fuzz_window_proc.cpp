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
#include <cstring>
#include <string>
#include <sys/stat.h>
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

const char* const kFontFiles[] = {"arial_narrow_10.fnt", "arial_narrow_11.fnt", "arial_14.fnt", "arial_16.fnt",
                                  "arial_18.fnt",        "trade_cond_24_bold.fnt", "trade_cond_28_bold.fnt"};

void PrepareInstallation() {
    FuzzEnterScratchFolder();
    for (const char* name : kFontFiles) {
        std::string bytes;
        if (!FuzzReadFile(FuzzFontFolder() + "/" + name, &bytes) ||
            !FuzzWriteFile(FuzzScratchPath(name), bytes.data(), bytes.size()))
            std::abort();
    }
    for (int i = 0; i < LanguageCount; ++i) {
        const std::string text = "readme\n";
        if (!FuzzWriteFile(FuzzScratchPath(ReadmeFileName[i]), text.data(), text.size())) std::abort();
    }
    const std::string game = FuzzScratchPath("game");
    if (mkdir(game.c_str(), 0777) != 0 || !FuzzWriteFile(game + "/tlf.exe", "exe", 3)) std::abort();
    setenv("TLF_REGISTRY", FuzzScratchPath("registry.reg").c_str(), 1);
    if (!WriteRegistryString(ProductSubkey, "Version", "Release") ||
        !WriteRegistryString(ProductSubkey, "Location", game.c_str()))
        std::abort();
}

bool HandledByTheProcedure(uint32_t message) {
    switch (message) {
        case WindowMessageSize: case WindowMessagePaint: case WindowMessageClose: case WindowMessageGetMinMaxInfo:
        case WindowMessageKeyDown: case WindowMessageChar: case WindowMessageMouseMove:
        case WindowMessageLeftButtonDown: case WindowMessageLeftButtonUp: case WindowMessageRightButtonDown:
        case WindowMessageRightButtonUp: case WindowMessageMiddleButtonDown: case WindowMessageMiddleButtonUp:
        case WindowMessageMouseWheel:
            return true;
        default:
            return false;
    }
}

// Reads the input as messages; each takes a kind byte and up to four parameter bytes.
struct Reader {
    const uint8_t* data;
    size_t size;
    size_t at = 0;
    bool More() const { return at < size; }
    uint8_t Byte() { return at < size ? data[at++] : 0; }
    uint16_t Word() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
};

int16_t WindowExtent(uint16_t word, int most) { return static_cast<int16_t>(word % (most + 1)); }

MinMaxInfo gMinMax;  // WM_GETMINMAXINFO points here: it must outlive the queued message

void PostMessages(Reader& in) {
    for (int n = 0; n < kMostMessages && in.More(); ++n) {
        const uint8_t kind = in.Byte() % 17;
        switch (kind) {
            case 0: {
                const uintptr_t sizeKind = in.Byte() % 4;
                HeadlessPostMessage(WindowMessageSize, sizeKind, PackPointParam(WindowExtent(in.Word(), 640), WindowExtent(in.Word(), 480)));
                break;
            }
            case 1: HeadlessPostMessage(WindowMessagePaint, 0, 0); break;
            case 2: HeadlessPostMessage(WindowMessageClose, 0, 0); break;
            case 3: HeadlessPostMessage(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&gMinMax)); break;
            case 4: HeadlessPostMessage(WindowMessageKeyDown, in.Byte(), 0); break;
            case 5: HeadlessPostMessage(WindowMessageKeyUp, in.Byte(), 0); break;
            case 6: HeadlessPostMessage(WindowMessageChar, in.Word(), 0); break;
            case 7: {
                // Mostly inside the 550 x 350 window, where the Buttons are; any word otherwise.
                const uint16_t x = in.Word(), y = in.Word();
                const bool inside = (x & 0x8000) == 0;
                HeadlessPostMessage(WindowMessageMouseMove, 0,
                                    inside ? PackPointParam(x % 560, y % 360) : PackPointParam(x, y));
                break;
            }
            case 8: HeadlessPostMessage(WindowMessageLeftButtonDown, 0, 0); break;
            case 9: HeadlessPostMessage(WindowMessageLeftButtonUp, 0, 0); break;
            case 10: HeadlessPostMessage(WindowMessageRightButtonDown, 0, 0); break;
            case 11: HeadlessPostMessage(WindowMessageRightButtonUp, 0, 0); break;
            case 12: HeadlessPostMessage(WindowMessageMiddleButtonDown, 0, 0); break;
            case 13: HeadlessPostMessage(WindowMessageMiddleButtonUp, 0, 0); break;
            case 14: HeadlessPostMessage(WindowMessageMouseWheel, static_cast<uintptr_t>(in.Word()) << 16, 0); break;
            case 15: {
                // A message the procedure leaves to the system, with any parameters.
                const uint32_t message = in.Word();
                const uintptr_t wParam = in.Word();
                const intptr_t lParam = in.Word();
                if (!HandledByTheProcedure(message)) HeadlessPostMessage(message, wParam, lParam);
                break;
            }
            default: HeadlessEndFrame(); break;
        }
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
