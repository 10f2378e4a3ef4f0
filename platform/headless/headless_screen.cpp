// headless_screen.cpp: the headless backend's presentation: copies the changed rectangle of the
// frame buffer into an in-memory screen of the client size, and records every request.
#include <algorithm>

#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/platform_display.h"

void HeadlessSetClientSize(int width, int height) {
    gHeadless.window.clientWidth = width;
    gHeadless.window.clientHeight = height;
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == gHeadless.screenWidth && height == gHeadless.screenHeight) return;
    gHeadless.screenWidth = width;
    gHeadless.screenHeight = height;
    gHeadless.screen.assign(static_cast<size_t>(width) * static_cast<size_t>(height), 0);
}

const std::vector<uint16_t>& HeadlessScreen() { return gHeadless.screen; }
int HeadlessScreenWidth() { return gHeadless.screenWidth; }
int HeadlessScreenHeight() { return gHeadless.screenHeight; }
const std::vector<HeadlessRect>& HeadlessPresentedRects() { return gHeadless.presentedRects; }

uint16_t HeadlessScreenPixel(int x, int y) {
    if (x < 0 || y < 0 || x >= gHeadless.screenWidth || y >= gHeadless.screenHeight) return 0;
    return gHeadless.screen[static_cast<size_t>(y) * gHeadless.screenWidth + x];
}

bool HeadlessSaveScreenPng(const char* path) {
    return WriteRgb555Png(path, gHeadless.screen.data(), gHeadless.screenWidth * 2, gHeadless.screenWidth,
                          gHeadless.screenHeight);
}

void PlatformPresent(const uint16_t* frameBuffer, int pitch, int bufferWidth, int bufferHeight, int x, int y,
                     int width, int height) {
    gHeadless.presentedRects.push_back(HeadlessRect{x, y, width, height});
    if (!gHeadless.window.exists || frameBuffer == nullptr) return;
    // Only what lies inside both the buffer and the screen is copied.
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min({x + width, bufferWidth, gHeadless.screenWidth});
    const int bottom = std::min({y + height, bufferHeight, gHeadless.screenHeight});
    for (int row = top; row < bottom; ++row) {
        const uint16_t* source = reinterpret_cast<const uint16_t*>(reinterpret_cast<const char*>(frameBuffer) +
                                                                   static_cast<size_t>(row) * pitch);
        std::copy(source + left, source + std::max(right, left),
                  gHeadless.screen.begin() + static_cast<size_t>(row) * gHeadless.screenWidth + left);
    }
}
