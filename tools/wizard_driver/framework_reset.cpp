// framework_reset.cpp: see framework_reset.h.
#include "tools/wizard_driver/framework_reset.h"

#include "framework/framework_state.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"

void ResetFrameworkAndBackend() {
    gFramework = FrameworkState{};
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    HeadlessReset();
    HeadlessResetCursors();
}

std::string CommittedFontFolder() { return SourcePath("data/fonts"); }
