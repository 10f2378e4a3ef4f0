// frame_buffer_fixture.h: a frame buffer in memory for the drawing and text tests, no window.
//
// The fixture points gFramework's frame buffer fields at its own pixels (the graphics count as
// open), starts with nothing changed, and puts back whatever gFramework held when it ends. Rows
// are padded as the real buffer is (2 x width raised to a multiple of 4); the padding is filled
// with a sentinel so that tests can see nothing is written past a row's last pixel.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "framework/framework_state.h"
#include "gfx/font.h"

class FrameBufferTest : public ::testing::Test {
public:
    static constexpr uint16_t kPadding = 0xBEEF;

    void SetUp() override {
        saved_ = gFramework;
        UseBuffer(16, 12);
    }
    void TearDown() override {
        gFramework.fontTable = fonts_;
        for (int slot = 0; slot < FontSlotCount; ++slot) FreeFont(slot);
        gFramework.frameBuffer = saved_.frameBuffer;
        gFramework.pitch = saved_.pitch;
        gFramework.screenWidth = saved_.screenWidth;
        gFramework.screenHeight = saved_.screenHeight;
        gFramework.dirtyRect = saved_.dirtyRect;
        gFramework.graphicsOpening = saved_.graphicsOpening;
        gFramework.fontTable = saved_.fontTable;
    }

    // A fresh all-zero buffer of width x height, graphics open, nothing changed, an empty font table
    // (fonts loaded before are freed).
    void UseBuffer(int width, int height) {
        if (gFramework.fontTable == fonts_)
            for (int slot = 0; slot < FontSlotCount; ++slot) FreeFont(slot);
        stride_ = (2 * width + 3) / 4 * 2;  // pixels per row, padding included
        pixels_.assign(static_cast<size_t>(stride_) * height, 0);
        for (int y = 0; y < height; ++y)
            for (int x = width; x < stride_; ++x) pixels_[static_cast<size_t>(y) * stride_ + x] = kPadding;
        gFramework.frameBuffer = pixels_.data();
        gFramework.pitch = stride_ * 2;
        gFramework.screenWidth = static_cast<int16_t>(width);
        gFramework.screenHeight = static_cast<int16_t>(height);
        gFramework.graphicsOpening = 0;
        gFramework.fontTable = fonts_;
        for (Font*& slot : fonts_) slot = nullptr;
        ResetDirty();
    }
    void ResetDirty() { gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1}; }
    void Fill(uint16_t colour) {
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) Pixel(x, y) = colour;
    }

    int Width() const { return gFramework.screenWidth; }
    int Height() const { return gFramework.screenHeight; }
    uint16_t& Pixel(int x, int y) { return pixels_[static_cast<size_t>(y) * stride_ + x]; }
    // The pixels of a row as a string: '#' where the pixel is `colour`, '.' elsewhere.
    std::string RowPattern(int y, uint16_t colour) {
        std::string pattern;
        for (int x = 0; x < Width(); ++x) pattern += Pixel(x, y) == colour ? '#' : '.';
        return pattern;
    }
    int CountPixels(uint16_t colour) {
        int count = 0;
        for (int y = 0; y < Height(); ++y)
            for (int x = 0; x < Width(); ++x) count += Pixel(x, y) == colour;
        return count;
    }
    bool PaddingIntact() const {
        for (int y = 0; y < gFramework.screenHeight; ++y)
            for (int x = gFramework.screenWidth; x < stride_; ++x)
                if (pixels_[static_cast<size_t>(y) * stride_ + x] != kPadding) return false;
        return true;
    }

    std::vector<uint16_t> pixels_;
    int stride_ = 0;
    Font* fonts_[FontSlotCount] = {};
    FrameworkState saved_{};
};

inline bool operator==(const DirtyRect& a, const DirtyRect& b) {
    return a.x0 == b.x0 && a.x1 == b.x1 && a.y0 == b.y0 && a.y1 == b.y1;
}
inline std::ostream& operator<<(std::ostream& out, const DirtyRect& r) {
    return out << "{x0 " << r.x0 << ", x1 " << r.x1 << ", y0 " << r.y0 << ", y1 " << r.y1 << "}";
}

// 5-bit channels to an Rgb555 value.
inline uint16_t Grey(int level) { return static_cast<uint16_t>(level << 10 | level << 5 | level); }
