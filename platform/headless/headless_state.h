// headless_state.h: the headless backend's private state, shared by its files. Tests use
// headless.h instead.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/headless/headless.h"

// One entry of the script: a message, or an end-of-frame mark.
struct HeadlessQueued {
    bool endOfFrame;
    HeadlessMessage message;
};

struct HeadlessState {
    int caption;
    int dialogFrameX, dialogFrameY;
    int frameX, frameY;
    int workLeft, workTop, workRight, workBottom;
    bool creationFails;
    intptr_t defaultResult;

    HeadlessWindow window;
    bool paintPending;
    bool everShown;

    std::deque<HeadlessQueued> queue;

    std::vector<HeadlessMessageBox> messageBoxes;
    std::vector<std::string> openedDocuments;
    std::vector<std::string> titles;
    std::vector<HeadlessMessage> defaultHandled;
    std::vector<HeadlessRect> presentedRects;
    int pumpCount;
    int paintCount;

    std::vector<uint16_t> screen;
    int screenWidth, screenHeight;
};

extern HeadlessState gHeadless;

// Sets the client size of the headless window and resizes (and clears) the screen with it.
void HeadlessSetClientSize(int width, int height);
// Hands one message to MainWindowProc as the window would receive it.
intptr_t HeadlessDeliver(uint32_t message, uintptr_t wParam, intptr_t lParam);
