// loop_app.cpp: see loop_app.h.
#include "tests/input/loop_app.h"

#include <cstdio>
#include <cstdlib>

#include "platform/headless/headless.h"

namespace {
QBIO* gNext = nullptr;
bool gOwned = false;
}  // namespace

void LoopApp::Redraw() {
    ++redraws;
    if (onRedraw) onRedraw();
}

bool LoopApp::RunFrame() {
    ++frames;
    return onFrame ? onFrame(*this) : false;
}

void SetNextApplication(QBIO* app, bool owned) {
    gNext = app;
    gOwned = owned;
}

QBIO* CreateApplication() {
    QBIO* app = gNext;
    gNext = nullptr;
    return app;
}

void DeleteApplication(QBIO* application) {
    if (gOwned) delete static_cast<LoopApp*>(application);  // only LoopApps are handed over owned
    gOwned = false;
}

void PrintMessageBoxesAtExit() {
    std::atexit([] {
        for (const HeadlessMessageBox& box : HeadlessMessageBoxes()) {
            std::fprintf(stderr, "[%s] %s\n", box.caption.c_str(), box.text.c_str());
        }
    });
}
