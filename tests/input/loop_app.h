// loop_app.h: the application module of tests_input: a small QBIO whose frames and redraws a
// test scripts, handed to the real entry (RunWinMain) by CreateApplication.
#pragma once

#include <functional>

#include "framework/qbio.h"

class LoopApp final : public QBIO {
public:
    void Redraw() override;
    bool RunFrame() override;

    int frames = 0;
    int redraws = 0;
    std::function<void()> onRedraw;
    std::function<bool(LoopApp&)> onFrame;  // false ends the program; none ends it at once
};

// The object CreateApplication hands the main loop next; DeleteApplication deletes it when
// `owned` (then it must be a LoopApp), else leaves it to the test.
void SetNextApplication(QBIO* app, bool owned);
// Death tests: the message boxes the dying child showed, to standard error at its exit.
void PrintMessageBoxesAtExit();
