// draw.h: the drawing primitives that write straight into the frame buffer.
//
// Pixels and colours are Rgb555: one unsigned 16-bit value, bits 10-14 red, 5-9 green, 0-4 blue
// (masks 0x7c00, 0x3e0, 0x1f). Bit 15 plays no part in colour arithmetic, but a colour written
// "unchanged" (lines, fills, full text coverage) keeps it. Where channels are mixed they are first
// widened to 8 bits (a left shift of 3) and packed back by a right shift of 3.
//
// The frame buffer is gFramework.frameBuffer: screenHeight rows of screenWidth pixels, top row
// first, rows pitch bytes apart (framework/framework_state.h). Coordinates are signed 16-bit and
// inclusive at both ends. Every primitive clamps its area with ClipRect first, which also grows
// gFramework.dirtyRect so that PresentFrame copies what changed.
//
// Results: DrawLine and DrawRect return 0, or 3 when the graphics are not open; then nothing is
// written, the changed area included. A frame buffer without pixels (a client area of width or
// height 0) gets nothing either, and they return 0. ClipRect and ScaleColour never check.
//
// Callers: the wizard pages (background ramp, progress bar), the buttons, and DrawText (gfx/font.h).
#pragma once

#include <cstdint>

typedef uint16_t Rgb555;

// Colours the installer draws with.
enum : Rgb555 {
    ColourBlack = 0x0000,
    ColourBlue = 0x001f,
    ColourDarkGrey = 0x2108,
    ColourButtonFace = 0x6739,
    ColourWhite = 0x7fff,
    ColourHeadingYellow = 0xffe0,  // bit 15 set: written unchanged where text covers fully
};

// The status of every drawing and text operation called while the graphics are not open.
enum : int32_t { DrawStatusGraphicsClosed = 3 };

// LineStyle: bit 0 set draws solid; clear draws 4 pixels and leaves 2, repeating.
enum : uint16_t { LineDotted = 0, LineSolid = 1 };

// RectStyle: the lowest set bit of these decides the mode of DrawRect; the others are ignored.
enum : uint16_t {
    RectDottedOutline = 1,
    RectSolidOutline = 2,
    RectFill = 4,
    RectGradientRightToLeft = 8,   // left column second colour, right column colour
    RectGradientLeftToRight = 16,  // left column colour, right column second colour
    RectGradientBottomToTop = 32,  // top row second colour, bottom row colour
    RectGradientTopToBottom = 64,  // top row colour, bottom row second colour
    RectTint = 128,                // each pixel: one third old, two thirds colour
};

// Bit 15 of DrawRect's second colour: the gradient's second end is the pixel already in the
// frame buffer at each position. Callers that need no second colour pass it as well.
enum : uint16_t { RectKeepBackground = 0x8000 };

// True when drawing may write: OpenGraphics has finished and the frame buffer exists. The same
// test as QBIO::IsGraphicsOpen, for code that has no QBIO at hand.
bool GraphicsAreOpen();

// Clamps a rectangle onto the frame buffer, orders its corners and grows the changed area by it.
// A rectangle wholly outside is clamped onto the nearest edge row or column, not dropped.
void ClipRect(int16_t& x0, int16_t& y0, int16_t& x1, int16_t& y1);

// A straight line between two points, both ends included, in a LineStyle. 0, or 3 when closed.
int32_t DrawLine(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint16_t style, Rgb555 colour);

// A rectangle in a RectStyle mode; secondColour is an Rgb555 or RectKeepBackground.
// A gradient one column (or one row) across has no span to interpolate over: it is painted in
// the end colour (the colour for modes 8 and 32, the second colour for 16 and 64).
// 0, or 3 when closed.
int32_t DrawRect(int16_t x0, int16_t y0, int16_t x1, int16_t y1, uint16_t style, Rgb555 colour,
                 uint16_t secondColour);

// Each channel times percent / 100, held between 0 and full intensity (a negative percent gives
// black). The buttons use 166 for the highlight and 66 for the shadow.
Rgb555 ScaleColour(Rgb555 colour, int16_t percent);

// The first pixel of frame-buffer row y (0 to screenHeight - 1); no check. For the drawing
// code of gfx/ once it has clipped.
uint16_t* FrameBufferRow(int y);

// ---- colour arithmetic shared with the text drawing, pure and tested ---------------------

// 8-bit channels of an Rgb555 (0, 8, ... 248) and the packing back (bit 15 clear).
struct Channels8 {
    int red, green, blue;
};
Channels8 WidenColour(Rgb555 colour);
Rgb555 PackChannels(int red, int green, int blue);

// A tinted pixel: per channel (old + 2 x colour) / 3.
Rgb555 TintPixel(Rgb555 old, Rgb555 colour);

// A text pixel of coverage 1 to 14 over a background: per channel
// (text x coverage + background x (15 - coverage)) / 15. Bit 15 comes out clear.
Rgb555 BlendCoverage(Rgb555 text, Rgb555 background, int coverage);
