// display_test_support.cpp: the test application and the reset between display tests.
#include "tests/display/display_test_support.h"

#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"

namespace {
TestApp* gNextApplication = nullptr;
}

void TestApp::Redraw() {
    ++redrawCount;
    if (onRedraw) onRedraw();
}

bool TestApp::RunFrame() {
    ++frameCount;
    return onFrame ? onFrame(*this) : false;
}

void SetNextApplication(TestApp* app) { gNextApplication = app; }

QBIO* CreateApplication() {
    TestApp* app = gNextApplication;
    gNextApplication = nullptr;
    return app;
}

void DeleteApplication(QBIO* application) { delete static_cast<TestApp*>(application); }

std::string CommittedFontFolder() { return std::string(TLF_SOURCE_DIR) + "/data/fonts"; }

void ResetFrameworkAndBackend() {
    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    HeadlessResetCursors();
}
