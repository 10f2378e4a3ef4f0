// test_window.h: a small window of Buttons and a wrapped paragraph that exercises the mouse, the
// keyboard and the buttons together. The headless loop tests drive it with scripted messages;
// the same code, linked with a real backend, is the window checked by hand with real pointer and
// key events (under Xvfb with xdotool, and under Wine), which must react exactly as the headless
// tests predict. It uses no test framework.
//
// Layout (550 x 350, grey background):
//   slot 0  "Exit"        (470, 310) 70 x 28, action 1: ends the program
//   slot 1  "Sink me"     (100, 50) 80 x 20, action 2: counted in clicks
//   slot 2  "Inert"       (200, 50) 80 x 20, inert: never clicked
//   slot 3  text field    (300, 50) 150 x 20: shows what is typed (Backspace removes)
//   slots 4-9  the paragraph, wrapped at (20, 100) into lines narrower than 300
// Escape ends the program as well; the pointer is the hand over "Sink me" and the arrow elsewhere.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "framework/qbio.h"

class KEYBOARD;
class MOUSE;
struct Button;

enum : int { TestWindowSlots = 10, TestWindowExitAction = 1, TestWindowSinkAction = 2 };

extern const char* const kTestWindowParagraph;

class TestWindowApp final : public QBIO {
public:
    // Makes the devices and opens the 550 x 350 window with the fonts of the current folder;
    // check `opened`.
    TestWindowApp();
    ~TestWindowApp();
    void Redraw() override;
    bool RunFrame() override;

    bool opened = false;
    MOUSE* mouse = nullptr;
    KEYBOARD* keyboard = nullptr;
    Button* slots[TestWindowSlots] = {};
    int16_t paragraphLines = 0;
    std::string typed;
    // What happened, one entry per event, for comparing runs: "click 1", "key 13 char 13", ...
    std::vector<std::string> log;
    int frames = 0;
    // Called at the start of every frame, when everything of the frames before is done; the
    // real-display check uses it to wait for frames instead of waiting a fixed time.
    std::function<void(const TestWindowApp&)> onFrameStart;
    int maxFrames = 0;  // when not 0, the program ends after this many frames (a script gone wrong)
};
