// test_window.cpp: the input test window; see test_window.h.
#include "tests/input/test_window.h"

#include <cstdio>

#include "framework/folder_path.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "gfx/button.h"
#include "gfx/draw.h"

const char* const kTestWindowParagraph =
    "The update replaces the files of your installed game, one by one, and keeps the folder "
    "where it is. Press the buttons above and type into the field to try the pointer and keys.";

namespace {

constexpr Rgb555 kBackground = 0x4a52;
constexpr Rgb555 kBlack = 0x0000;

}  // namespace

TestWindowApp::TestWindowApp() {
    mouse = new MOUSE();
    mouse->SetCursorShape(CursorArrow);
    keyboard = new KEYBOARD();
    FolderPath folder;
    opened = OpenGraphics(550, 350, "Input test", 0, &folder, -1, -1, -1, -1) == 0;
    slots[0] = CreateButton(470, 310, 70, 28, "Exit", TestWindowExitAction, 0, kBlack);
    slots[1] = CreateButton(100, 50, 80, 20, "Sink me", TestWindowSinkAction, 0, kBlack);
    slots[2] = CreateButton(200, 50, 80, 20, "Inert", ActionInert, 0, kBlack);
    slots[3] = CreateButton(300, 50, 150, 20, "", ActionTextField, 0, kBlack);
    int16_t count = 4;
    int16_t y = 100;
    AddWrappedText(slots, TestWindowSlots, count, y, 20, 300, kTestWindowParagraph);
    paragraphLines = static_cast<int16_t>(count - 4);
}

TestWindowApp::~TestWindowApp() {
    for (Button*& slot : slots) {
        DeleteButton(slot);
        slot = nullptr;
    }
    CloseGraphics();
    delete mouse;
    delete keyboard;
}

void TestWindowApp::Redraw() {
    DrawRect(0, 0, 549, 349, RectFill, kBackground, RectKeepBackground);
    for (Button* slot : slots) DrawButton(slot);
}

bool TestWindowApp::RunFrame() {
    ++frames;
    if (onFrameStart) onFrameStart(*this);
    if (!opened || (maxFrames != 0 && frames > maxFrames)) return false;
    for (int i = 0; i < TestWindowSlots; ++i) {
        if (!UpdateButton(slots[i], mouse)) continue;
        log.push_back("click " + std::to_string(i));
        if (slots[i]->action == TestWindowExitAction) return false;
    }
    // The pointer shape follows the pointer: the hand over the Button that can be sunk.
    int16_t x = 0, y = 0;
    mouse->GetMousePosition(x, y);
    const Button* sink = slots[1];
    const bool overSink = sink->x < x && x < sink->x + sink->width && sink->y < y && y < sink->y + sink->height;
    mouse->SetCursorShape(overSink ? CursorHand : CursorArrow);

    uint8_t character = 0;
    int32_t keyCode = 0;
    if (keyboard->ReadKey(character, keyCode)) {
        log.push_back("key " + std::to_string(keyCode) + " char " + std::to_string(character));
        const KeyClass keyClass = KEYBOARD::ClassifyKey(keyCode);
        if (keyClass == KeyEscape) return false;
        if (keyClass == KeyBackspace && !typed.empty()) {
            typed.pop_back();
        } else if (character >= 32 && typed.size() < 20) {
            typed.push_back(static_cast<char>(character));
        }
        std::snprintf(slots[3]->label, sizeof slots[3]->label, "%s", typed.c_str());
        DrawButton(slots[3]);
    }
    return true;
}
