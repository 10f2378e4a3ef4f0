// display_test_support.h: a small application and a clean framework for the display tests.
//
// Each test starts from a zero FrameworkState and a reset headless backend (DisplayTest), and
// makes its own TestApp, the one registered QBIO; the app's destructor closes the graphics.
// CreateApplication hands the main loop the app a test prepared with SetNextApplication.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "framework/framework_state.h"
#include "framework/qbio.h"

class TestApp final : public QBIO {
public:
    void Redraw() override;
    bool RunFrame() override;

    int redrawCount = 0;
    int frameCount = 0;
    std::function<void()> onRedraw;               // runs inside Redraw
    std::function<bool(TestApp&)> onFrame;        // runs inside RunFrame; false ends the loop
};

// The object CreateApplication returns next (made with new; DeleteApplication deletes it).
void SetNextApplication(TestApp* app);

// The committed font files, so that OpenGraphics can load all seven.
std::string CommittedFontFolder();

// Zero framework state (dirtyRect "nothing changed"), reset headless window and cursors.
void ResetFrameworkAndBackend();

// Resets in its constructor and destructor, so that a fixture's own TestApp member is made after
// the reset (and registered) and destroyed before the final one.
class DisplayTest : public ::testing::Test {
protected:
    DisplayTest() { ResetFrameworkAndBackend(); }
    ~DisplayTest() override { ResetFrameworkAndBackend(); }
};
