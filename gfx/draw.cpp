// draw.cpp: clipping, lines, rectangles (outline, fill, dithered gradients, tint) and colour
// scaling on the frame buffer of gFramework. See gfx/draw.h for the pixel format and results.
#include "gfx/draw.h"

#include <cstdlib>
#include <initializer_list>
#include <new>
#include <utility>

#include "framework/framework_state.h"

namespace {

int ClampToByte(int value) { return value < 0 ? 0 : (value > 255 ? 255 : value); }

// Draws one row (or column) of a dotted or solid line; the dot pattern starts at `from`.
void DrawHorizontalRun(int y, int from, int to, bool solid, Rgb555 colour) {
    uint16_t* row = FrameBufferRow(y);
    for (int x = from; x <= to; ++x)
        if (solid || (x - from) % 6 < 4) row[x] = colour;
}

void DrawVerticalRun(int x, int from, int to, bool solid, Rgb555 colour) {
    for (int y = from; y <= to; ++y)
        if (solid || (y - from) % 6 < 4) FrameBufferRow(y)[x] = colour;
}

// The general line: Bresenham over the unclipped end points, writing only the points inside the
// clip box; the dot counter counts those inside points only. When the error term is exactly 0
// the minor coordinate steps.
void DrawBresenhamLine(int x0, int y0, int x1, int y1, int boxX0, int boxY0, int boxX1, int boxY1,
                       bool solid, Rgb555 colour) {
    int dots = 0;
    auto plot = [&](int x, int y) {
        if (x < boxX0 || x > boxX1 || y < boxY0 || y > boxY1) return;
        if (solid || dots % 6 < 4) FrameBufferRow(y)[x] = colour;
        ++dots;
    };
    const bool steep = std::abs(x1 - x0) < std::abs(y1 - y0);
    if (steep) {
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int dx = std::abs(x1 - x0);
        const int dy = y1 - y0;
        const int xStep = x1 <= x0 ? -1 : 1;
        int error = 2 * dx - dy;
        for (int x = x0, y = y0; y <= y1; ++y) {
            plot(x, y);
            if (error >= 0) {
                x += xStep;
                error += 2 * (dx - dy);
            } else {
                error += 2 * dx;
            }
        }
    } else {
        if (x0 > x1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
        }
        const int dx = x1 - x0;
        const int dy = std::abs(y1 - y0);
        const int yStep = y1 <= y0 ? -1 : 1;
        int error = 2 * dy - dx;
        for (int x = x0, y = y0; x <= x1; ++x) {
            plot(x, y);
            if (error >= 0) {
                y += yStep;
                error += 2 * (dy - dx);
            } else {
                error += 2 * dy;
            }
        }
    }
}

// The undithered colour of a gradient at positions 0, 1, 2, ... of `span`, per channel
// (position x end + (span - position) x start) / span, found without dividing: the numerator
// grows by end - start from one position to the next and is never negative, so its quotient and
// remainder are carried along and truncation is floor. A span of 0 gives `end` throughout.
class GradientStepper {
public:
    GradientStepper(const Channels8& start, const Channels8& end, int span) : span_(span), end_(end) {
        const int starts[3] = {start.red, start.green, start.blue};
        const int ends[3] = {end.red, end.green, end.blue};
        for (int c = 0; c < 3; ++c) {
            quotient_[c] = starts[c];
            remainder_[c] = 0;
            // The change per position, end - start, as a floored quotient and a remainder in
            // 0 .. span - 1, so that each step needs at most one carry into the quotient.
            const int change = ends[c] - starts[c];
            stepQuotient_[c] = span > 0 ? change / span : 0;
            stepRemainder_[c] = span > 0 ? change % span : 0;
            if (stepRemainder_[c] < 0) {
                stepRemainder_[c] += span;
                --stepQuotient_[c];
            }
        }
    }
    Channels8 Current() const {
        return span_ > 0 ? Channels8{quotient_[0], quotient_[1], quotient_[2]} : end_;
    }
    void Advance() {
        if (span_ <= 0) return;
        for (int c = 0; c < 3; ++c) {
            quotient_[c] += stepQuotient_[c];
            remainder_[c] += stepRemainder_[c];
            const int carry = remainder_[c] >= span_ ? 1 : 0;
            remainder_[c] -= carry * span_;
            quotient_[c] += carry;
        }
    }

private:
    int span_;
    Channels8 end_;
    int quotient_[3], remainder_[3], stepQuotient_[3], stepRemainder_[3];
};

// One of the four gradients over the clipped rectangle, dithered by error diffusion along each
// row. `horizontal` interpolates over columns, else over rows; `colourAtEnd` puts the colour at
// position L (modes 8 and 32) rather than at position 0 (modes 16 and 64). With a fixed second
// colour the targets are stepped (GradientStepper) instead of divided out pixel by pixel; with
// the background as second colour every pixel has its own ends and is divided out.
void DrawGradient(int x0, int y0, int x1, int y1, bool horizontal, bool colourAtEnd, Rgb555 colour,
                  uint16_t secondColour) {
    const bool keepBackground = (secondColour & RectKeepBackground) != 0;
    const Channels8 fixedColour = WidenColour(colour);
    const Channels8 fixedSecond = WidenColour(secondColour);
    const int span = horizontal ? x1 - x0 : y1 - y0;
    const Channels8& fixedStart = colourAtEnd ? fixedSecond : fixedColour;
    const Channels8& fixedEnd = colourAtEnd ? fixedColour : fixedSecond;
    GradientStepper rows(fixedStart, fixedEnd, span);  // vertical: one step per row
    // Horizontal: the targets of the columns, the same in every row, worked out once. Without
    // memory for them each row steps through them itself.
    Channels8* columnTargets = nullptr;
    if (horizontal && !keepBackground) {
        columnTargets = new (std::nothrow) Channels8[static_cast<size_t>(x1 - x0) + 1];
        GradientStepper columns(fixedStart, fixedEnd, span);
        for (int x = x0; columnTargets != nullptr && x <= x1; ++x) {
            columnTargets[x - x0] = columns.Current();
            columns.Advance();
        }
    }
    for (int y = y0; y <= y1; ++y) {
        uint16_t* row = FrameBufferRow(y);
        int carriedRed = 0, carriedGreen = 0, carriedBlue = 0;
        GradientStepper columns(fixedStart, fixedEnd, span);  // horizontal: one step per column
        const Channels8 rowTarget = rows.Current();
        for (int x = x0; x <= x1; ++x) {
            Channels8 target;
            if (keepBackground) {
                const Channels8 second = WidenColour(row[x]);
                const Channels8& start = colourAtEnd ? second : fixedColour;
                const Channels8& end = colourAtEnd ? fixedColour : second;
                target = end;  // a span of 0 paints the end colour
                if (span > 0) {
                    const int position = horizontal ? x - x0 : y - y0;
                    target.red = (position * end.red + (span - position) * start.red) / span;
                    target.green = (position * end.green + (span - position) * start.green) / span;
                    target.blue = (position * end.blue + (span - position) * start.blue) / span;
                }
            } else if (columnTargets != nullptr) {
                target = columnTargets[x - x0];
            } else if (horizontal) {
                target = columns.Current();
                columns.Advance();
            } else {
                target = rowTarget;
            }
            const int red = ClampToByte(target.red + carriedRed);
            const int green = ClampToByte(target.green + carriedGreen);
            const int blue = ClampToByte(target.blue + carriedBlue);
            row[x] = PackChannels(red, green, blue);
            carriedRed = red & 7;
            carriedGreen = green & 7;
            carriedBlue = blue & 7;
        }
        rows.Advance();
    }
    delete[] columnTargets;
}

}  // namespace

namespace {

// A window sized to nothing (WM_SIZE with a width or height of 0) leaves a frame buffer without
// pixels: no edge to clamp onto, so the primitives draw nothing and change nothing.
bool FrameBufferHasNoPixels() { return gFramework.screenWidth <= 0 || gFramework.screenHeight <= 0; }

}  // namespace

uint16_t* FrameBufferRow(int y) {
    return reinterpret_cast<uint16_t*>(reinterpret_cast<uint8_t*>(gFramework.frameBuffer) +
                                       static_cast<intptr_t>(y) * gFramework.pitch);
}

bool GraphicsAreOpen() { return gFramework.graphicsOpening == 0 && gFramework.frameBuffer != nullptr; }

Channels8 WidenColour(Rgb555 colour) {
    return Channels8{(colour & 0x7c00) >> 7, (colour & 0x3e0) >> 2, (colour & 0x1f) << 3};
}

Rgb555 PackChannels(int red, int green, int blue) {
    return static_cast<Rgb555>((blue >> 3) | ((green << 2) & 0x3e0) | ((red << 7) & 0x7c00));
}

Rgb555 TintPixel(Rgb555 old, Rgb555 colour) {
    const Channels8 o = WidenColour(old);
    const Channels8 c = WidenColour(colour);
    return PackChannels((o.red + 2 * c.red) / 3, (o.green + 2 * c.green) / 3, (o.blue + 2 * c.blue) / 3);
}

Rgb555 BlendCoverage(Rgb555 text, Rgb555 background, int coverage) {
    const Channels8 t = WidenColour(text);
    const Channels8 b = WidenColour(background);
    const int rest = 15 - coverage;
    return PackChannels((t.red * coverage + b.red * rest) / 15, (t.green * coverage + b.green * rest) / 15,
                        (t.blue * coverage + b.blue * rest) / 15);
}

void ClipRect(int16_t& x0, int16_t& y0, int16_t& x1, int16_t& y1) {
    const int16_t maxX = static_cast<int16_t>(gFramework.screenWidth - 1);
    const int16_t maxY = static_cast<int16_t>(gFramework.screenHeight - 1);
    for (int16_t* value : {&x0, &y0, &x1, &y1})
        if (*value < 0) *value = 0;
    if (x0 > maxX) x0 = maxX;
    if (x1 > maxX) x1 = maxX;
    if (y0 > maxY) y0 = maxY;
    if (y1 > maxY) y1 = maxY;
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);

    DirtyRect& dirty = gFramework.dirtyRect;
    if (dirty.x0 == -1 || x0 < dirty.x0) dirty.x0 = x0;
    if (dirty.x1 == -1 || x1 > dirty.x1) dirty.x1 = x1;
    if (dirty.y0 == -1 || y0 < dirty.y0) dirty.y0 = y0;
    if (dirty.y1 == -1 || y1 > dirty.y1) dirty.y1 = y1;
}

int32_t DrawLine(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint16_t style, Rgb555 colour) {
    if (!GraphicsAreOpen()) return DrawStatusGraphicsClosed;
    if (FrameBufferHasNoPixels()) return 0;
    const bool solid = (style & LineSolid) != 0;
    int16_t boxX0 = x0, boxY0 = y0, boxX1 = x1, boxY1 = y1;
    ClipRect(boxX0, boxY0, boxX1, boxY1);
    if (boxY0 == boxY1)
        DrawHorizontalRun(boxY0, boxX0, boxX1, solid, colour);
    else if (boxX0 == boxX1)
        DrawVerticalRun(boxX0, boxY0, boxY1, solid, colour);
    else
        DrawBresenhamLine(x0, y0, x1, y1, boxX0, boxY0, boxX1, boxY1, solid, colour);
    return 0;
}

int32_t DrawRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint16_t style, Rgb555 colour,
                 uint16_t secondColour) {
    if (!GraphicsAreOpen()) return DrawStatusGraphicsClosed;
    if (FrameBufferHasNoPixels()) return 0;
    ClipRect(x0, y0, x1, y1);
    if (style & (RectDottedOutline | RectSolidOutline)) {
        const uint16_t lineStyle = (style & RectDottedOutline) ? LineDotted : LineSolid;
        DrawLine(x0, y0, x1, y0, lineStyle, colour);
        DrawLine(x1, y0, x1, y1, lineStyle, colour);
        DrawLine(x1, y1, x0, y1, lineStyle, colour);
        DrawLine(x0, y1, x0, y0, lineStyle, colour);
    } else if (style & RectFill) {
        for (int y = y0; y <= y1; ++y) {
            uint16_t* row = FrameBufferRow(y);
            for (int x = x0; x <= x1; ++x) row[x] = colour;
        }
    } else if (style & RectGradientRightToLeft) {
        DrawGradient(x0, y0, x1, y1, true, true, colour, secondColour);
    } else if (style & RectGradientLeftToRight) {
        DrawGradient(x0, y0, x1, y1, true, false, colour, secondColour);
    } else if (style & RectGradientBottomToTop) {
        DrawGradient(x0, y0, x1, y1, false, true, colour, secondColour);
    } else if (style & RectGradientTopToBottom) {
        DrawGradient(x0, y0, x1, y1, false, false, colour, secondColour);
    } else if (style & RectTint) {
        for (int y = y0; y <= y1; ++y) {
            uint16_t* row = FrameBufferRow(y);
            for (int x = x0; x <= x1; ++x) row[x] = TintPixel(row[x], colour);
        }
    }
    return 0;
}

Rgb555 ScaleColour(Rgb555 colour, int16_t percent) {
    const Channels8 c = WidenColour(colour);
    auto scale = [percent](int channel) { return ClampToByte(channel * percent / 100); };
    return PackChannels(scale(c.red), scale(c.green), scale(c.blue));
}
