// input_test_support.cpp: the shared fixtures of the input tests; see input_test_support.h.
#include "tests/input/input_test_support.h"

#include <cstdio>

#include "gfx/button.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"

namespace {
QBIO* gNextApplication = nullptr;
void (*gRelease)(QBIO*) = nullptr;
}

void ResetFrameworkAndBackend() {
    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    HeadlessResetCursors();
}

void ScreenTest::SetUp() {
    InputTest::SetUp();
    pixels_.assign(static_cast<size_t>(kWidth) * kHeight, 0);
    gFramework.frameBuffer = pixels_.data();
    gFramework.pitch = kWidth * 2;
    gFramework.screenWidth = kWidth;
    gFramework.screenHeight = kHeight;
    gFramework.graphicsOpening = 0;

    // One shared solid bitmap: 10 rows of 3 bytes, every nibble 15 (the sixth nibble is padding).
    ink_.assign(static_cast<size_t>(kFontHeight) * 3, 0xFF);
    font_.height = kFontHeight;
    for (int code = FirstGlyphCode; code < 256; ++code) {
        Glyph& glyph = font_.glyphs[code];
        glyph = Glyph{5, 3, 0, 0, ink_.data()};
    }
    font_.glyphs[' '] = Glyph{4, 0, 0, 0, nullptr};
    fontTable_[ButtonFontIndex] = &font_;
    gFramework.fontTable = fontTable_;
}

void ScreenTest::TearDown() {
    // The font and the buffer belong to the fixture; FreeFont must never see them.
    gFramework.fontTable = nullptr;
    gFramework.frameBuffer = nullptr;
    InputTest::TearDown();
}

void LoopApp::Redraw() {
    ++redraws;
    if (onRedraw) onRedraw();
}

bool LoopApp::RunFrame() {
    ++frames;
    return onFrame ? onFrame(*this) : false;
}

void SetNextApplication(QBIO* app, void (*release)(QBIO*)) {
    gNextApplication = app;
    gRelease = release;
}

void DeleteLoopApp(QBIO* app) { delete static_cast<LoopApp*>(app); }

void KeepApplication(QBIO*) {}

QBIO* CreateApplication() {
    QBIO* app = gNextApplication;
    gNextApplication = nullptr;
    return app;
}

void DeleteApplication(QBIO* application) {
    if (application != nullptr && gRelease != nullptr) gRelease(application);
    gRelease = nullptr;
}

const char* CommittedFontFolder() { return TLF_SOURCE_DIR "/data/fonts"; }

void PrintRecordedMessageBoxes() {
    for (const HeadlessMessageBox& box : HeadlessMessageBoxes()) {
        std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
    }
}
