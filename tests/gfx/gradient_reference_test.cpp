// Gradients against a reference: DrawRect's four gradient modes, with a fixed second colour and
// with the background as second colour, must give exactly the pixels of the plain per-pixel
// formula (interpolate each channel with a division, then carry the dithering error along the
// row) for many rectangles, colours and backgrounds, clipped ones included. The drawing code
// steps the interpolation instead of dividing, so this pins the two to the same pixels.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "gfx/draw.h"
#include "tests/gfx/frame_buffer_fixture.h"

namespace {

int Clamp255(int value) { return std::clamp(value, 0, 255); }

// The gradient as the format describes it, over an already clipped rectangle of `pixels`
// (rows `stride` pixels apart).
void ReferenceGradient(std::vector<uint16_t>& pixels, int stride, int x0, int y0, int x1, int y1, uint16_t style,
                       Rgb555 colour, uint16_t secondColour) {
    const bool horizontal = (style & (RectGradientRightToLeft | RectGradientLeftToRight)) != 0;
    const bool colourAtEnd = (style & (RectGradientRightToLeft | RectGradientBottomToTop)) != 0;
    const bool keepBackground = (secondColour & RectKeepBackground) != 0;
    const int span = horizontal ? x1 - x0 : y1 - y0;
    for (int y = y0; y <= y1; ++y) {
        int carried[3] = {0, 0, 0};
        for (int x = x0; x <= x1; ++x) {
            uint16_t& pixel = pixels[static_cast<size_t>(y) * stride + x];
            const Channels8 second = WidenColour(keepBackground ? pixel : secondColour);
            const Channels8 fixed = WidenColour(colour);
            const Channels8 start = colourAtEnd ? second : fixed;
            const Channels8 end = colourAtEnd ? fixed : second;
            const int position = horizontal ? x - x0 : y - y0;
            const int starts[3] = {start.red, start.green, start.blue};
            const int ends[3] = {end.red, end.green, end.blue};
            int out[3];
            for (int c = 0; c < 3; ++c) {
                const int target = span > 0 ? (position * ends[c] + (span - position) * starts[c]) / span : ends[c];
                out[c] = Clamp255(target + carried[c]);
                carried[c] = out[c] & 7;
            }
            pixel = PackChannels(out[0], out[1], out[2]);
        }
    }
}

class GradientReferenceTest : public FrameBufferTest {};

TEST_F(GradientReferenceTest, EveryModeGivesTheReferencePixels) {
    std::mt19937 random(20261206u);
    const uint16_t modes[] = {RectGradientRightToLeft, RectGradientLeftToRight, RectGradientBottomToTop,
                              RectGradientTopToBottom};
    for (int round = 0; round < 400; ++round) {
        const int width = 1 + static_cast<int>(random() % 70), height = 1 + static_cast<int>(random() % 40);
        UseBuffer(width, height);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x) Pixel(x, y) = static_cast<uint16_t>(random());
        std::vector<uint16_t> expected = pixels_;

        // Corners may lie outside the buffer, in either order.
        auto coordinate = [&](int extent) { return static_cast<int16_t>(static_cast<int>(random() % (extent + 20)) - 10); };
        int16_t x0 = coordinate(width), y0 = coordinate(height), x1 = coordinate(width), y1 = coordinate(height);
        const uint16_t style = modes[random() % 4];
        const Rgb555 colour = static_cast<Rgb555>(random());
        uint16_t second = static_cast<uint16_t>(random() & 0x7fff);
        if (random() % 3 == 0) second |= RectKeepBackground;

        int cx0 = std::clamp<int>(x0, 0, width - 1), cx1 = std::clamp<int>(x1, 0, width - 1);
        int cy0 = std::clamp<int>(y0, 0, height - 1), cy1 = std::clamp<int>(y1, 0, height - 1);
        if (cx0 > cx1) std::swap(cx0, cx1);
        if (cy0 > cy1) std::swap(cy0, cy1);
        ReferenceGradient(expected, stride_, cx0, cy0, cx1, cy1, style, colour, second);

        ASSERT_EQ(0, DrawRect(x0, y0, x1, y1, style, colour, second));
        ASSERT_TRUE(pixels_ == expected) << "round " << round << ": style " << style << ", colour " << colour
                                         << ", second " << second << ", rectangle (" << x0 << ", " << y0 << ")-("
                                         << x1 << ", " << y1 << ") in " << width << " x " << height;
    }
}

TEST_F(GradientReferenceTest, AWholeWindowGradientBetweenExtremesMatches) {
    UseBuffer(550, 350);
    for (uint16_t style : {RectGradientRightToLeft, RectGradientLeftToRight, RectGradientBottomToTop,
                           RectGradientTopToBottom}) {
        Fill(0);
        std::vector<uint16_t> expected = pixels_;
        ReferenceGradient(expected, stride_, 0, 0, 549, 349, style, ColourWhite, ColourBlack);
        DrawRect(0, 0, 549, 349, style, ColourWhite, ColourBlack);
        EXPECT_TRUE(pixels_ == expected) << "style " << style;
        EXPECT_TRUE(PaddingIntact());
    }
}

}  // namespace
