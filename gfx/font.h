// font.h: the bitmap fonts (.fnt), their loading into the seven font slots, measuring and text.
//
// The .fnt format (every integer 32-bit signed little-endian; no magic, version or checksum):
//   height                       rows of every glyph bitmap, also the line height
//   224 glyph entries, for the character codes 32, 33, ... 255 in order, each:
//     width                      the cell width; the pen advances by it
//     bytesPerRow                bytes of bitmap per row, (width + 1) / 2; 0 = no bitmap
//     leftInset, rightInset      how much the gap before / after the glyph shrinks
//     bitmap                     height x bytesPerRow bytes, only when bytesPerRow is not 0
// A bitmap lists rows top to bottom; each byte holds two pixels, the left one in the high nibble.
// A nibble is a coverage level: 0 leaves the pixel, 15 paints the text colour, 1-14 blend.
// Bytes after the last entry are ignored.
//
// Text is zero-terminated Windows-1252: each byte 32-255 selects its glyph directly; bytes 1-31
// are not characters (they neither paint nor advance). There are no line breaks.
//
// Spacing: neighbouring glyphs stand CharacterGap apart, three quarters of the space's width less
// the right inset of the first and the left inset of the second, never below 0.
//
// Callers: OpenGraphics and CloseGraphics (framework/display.cpp) load and free the seven slots;
// the wizard pages and the buttons measure and draw with slots 1, 2 and 5.
#pragma once

#include <cstdint>

#include "gfx/draw.h"

class FolderPath;

// One glyph: the four integers of its file entry, in file order, and its packed bitmap (owned by
// the Font; null when bytesPerRow is 0).
struct Glyph {
    int32_t width;
    int32_t bytesPerRow;
    int32_t leftInset;
    int32_t rightInset;
    uint8_t* bitmap;
};

// A loaded font: the height and one Glyph per character code; codes 0 to 31 stay all zero.
struct Font {
    int32_t height;
    Glyph glyphs[256];
};

enum : int32_t { FontSlotCount = 7, FirstGlyphCode = 32 };

// The file of each slot, loaded from the font folder; slot n reads FontFileNames[n].
extern const char* const FontFileNames[FontSlotCount];

// LoadFont results.
enum : int32_t {
    FontLoaded = 0,
    FontFileNotOpened = 7,   // also: a slot index outside 0-6, or no font table
    FontNoMemory = 8,        // for the Font itself
    FontFileDamaged = 9,     // the file ended early, a read failed, or a field is out of range
    FontNoBitmapMemory = 11, // for a glyph bitmap
};

// What the loader accepts; a file outside these limits is damaged (FontFileDamaged). They keep a
// damaged file from asking for absurd amounts of memory and make every bitmap exactly as large
// as the drawing walks it, so a loaded font is always safe to draw:
// - height 1 to FontMaxHeight;
// - width 0 to FontMaxGlyphWidth;
// - bytesPerRow 0, or exactly (width + 1) / 2 for a width of 1 or more;
// - each inset within -FontMaxGlyphWidth to FontMaxGlyphWidth.
enum : int32_t { FontMaxHeight = 256, FontMaxGlyphWidth = 256 };

// Reads the file of slot fontIndex from `folder` into that slot of gFramework.fontTable.
// Returns a LoadFont result; after any failure the stream is closed and the slot is empty.
// A slot that already holds a Font is freed first.
int LoadFont(FolderPath* folder, int fontIndex);

// Frees the Font of a slot and empties the slot; an empty slot is left alone.
void FreeFont(int fontIndex);

// Measuring: 3 when the graphics are not open; 0 for an empty slot or null text.
// The line height of the slot's font.
int32_t FontHeight(int fontIndex);
// The spacing between the byte at position - 1 and the byte at position (position at most the
// string's length); 0 also when position is 0 or below or the byte at position is the
// terminating zero.
int32_t CharacterGap(int fontIndex, const char* text, int position);
// How far DrawText advances the pen over the whole string.
int32_t TextWidth(int fontIndex, const char* text);

// Draws one line of text with the top-left corner of its first cell at (x, y). Pixels outside the
// frame buffer are skipped one by one; every glyph keeps its own place. Returns 0, 3 when the
// graphics are not open, 12 for null text, 13 for an empty slot.
enum : int32_t { TextStatusNullText = 12, TextStatusEmptySlot = 13 };
int32_t DrawText(int16_t x, int16_t y, int fontIndex, Rgb555 colour, const char* text);
