// input_test_support.h: a clean framework, a frame buffer and a font of known metrics for the
// mouse, keyboard and button tests, and a small application for tests that run the main loop.
//
// The test font (slot 1, the caption font) is 10 rows high. Every glyph but the space is 5
// pixels wide and fully inked (a solid 5 x 10 block); the space is 4 wide and blank. Neighbours
// stand 3 pixels apart (three quarters of the space), so a run of n letters is 8n - 3 wide:
// "abc" is 21, "abc def" 52, "abc def g" 67.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "framework/framework_state.h"
#include "framework/qbio.h"
#include "gfx/font.h"

// Zero FrameworkState (dirtyRect "nothing changed"), reset headless window and cursors.
void ResetFrameworkAndBackend();

// The framework's fields of one test are reset before and after it.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFrameworkAndBackend(); }
    void TearDown() override { ResetFrameworkAndBackend(); }
};

// An open "screen" of 320 x 200 pixels with the test font in slot 1, for drawing tests.
class ScreenTest : public InputTest {
protected:
    static constexpr int kWidth = 320;
    static constexpr int kHeight = 200;
    static constexpr int kFontHeight = 10;

    void SetUp() override;
    void TearDown() override;

    uint16_t Pixel(int x, int y) const { return pixels_[static_cast<size_t>(y) * kWidth + x]; }
    void Fill(uint16_t colour) { pixels_.assign(pixels_.size(), colour); }
    void ForgetChanges() { gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1}; }
    bool NothingChanged() const { return gFramework.dirtyRect.x0 == -1 && gFramework.dirtyRect.y1 == -1; }

    std::vector<uint16_t> pixels_;
    Font font_{};
    Font* fontTable_[FontSlotCount] = {};
    std::vector<uint8_t> ink_;
};

// The application RunWinMain runs in the loop tests: each frame calls onFrame (false ends the
// program; the loop also ends when the headless script is used up and onFrame says so).
class LoopApp final : public QBIO {
public:
    void Redraw() override;
    bool RunFrame() override;

    int frames = 0;
    int redraws = 0;
    std::function<void()> onRedraw;
    std::function<bool(LoopApp&)> onFrame;
};

// The object CreateApplication hands the main loop next. DeleteApplication calls `release` on it
// (which deletes it as its own type, or does nothing when the test keeps it to look at later).
void SetNextApplication(QBIO* app, void (*release)(QBIO*));
// Releases of SetNextApplication: delete a LoopApp, or keep the object.
void DeleteLoopApp(QBIO* app);
void KeepApplication(QBIO* app);

// The committed fonts, for tests that open the real graphics.
const char* CommittedFontFolder();

// Writes every message box the headless backend recorded to standard error as "[caption] text".
// Death tests register it with atexit in the dying child, whose boxes the parent cannot see.
void PrintRecordedMessageBoxes();
