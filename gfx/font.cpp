// font.cpp: loading and freeing the .fnt fonts of the seven slots, measuring and drawing text.
// See gfx/font.h for the format, the spacing rule and the results.
#include "gfx/font.h"

#include <new>

#include "framework/file_stream.h"
#include "framework/folder_path.h"
#include "framework/framework_state.h"

const char* const FontFileNames[FontSlotCount] = {
    "arial_narrow_10.fnt",    "arial_narrow_11.fnt",    "arial_14.fnt", "arial_16.fnt", "arial_18.fnt",
    "trade_cond_24_bold.fnt", "trade_cond_28_bold.fnt",
};

namespace {

// The Font in a slot, or null for an empty slot, an index outside 0-6 or no font table.
Font* FontInSlot(int fontIndex) {
    if (fontIndex < 0 || fontIndex >= FontSlotCount || gFramework.fontTable == nullptr) return nullptr;
    return gFramework.fontTable[fontIndex];
}

bool GlyphFieldsAreSane(const Glyph& glyph) {
    if (glyph.width < 0 || glyph.width > FontMaxGlyphWidth) return false;
    if (glyph.leftInset < -FontMaxGlyphWidth || glyph.leftInset > FontMaxGlyphWidth) return false;
    if (glyph.rightInset < -FontMaxGlyphWidth || glyph.rightInset > FontMaxGlyphWidth) return false;
    if (glyph.bytesPerRow == 0) return true;
    return glyph.width >= 1 && glyph.bytesPerRow == (glyph.width + 1) / 2;
}

// Reads everything after the stream is open; the caller closes the stream and empties the slot
// when this reports a failure.
int ReadFontBody(FileStream& stream, Font& font) {
    if (!stream.Read32(&font.height)) return FontFileDamaged;
    if (font.height < 1 || font.height > FontMaxHeight) return FontFileDamaged;
    for (int code = FirstGlyphCode; code <= 255; ++code) {
        Glyph& glyph = font.glyphs[code];
        if (!stream.Read32(&glyph.width) || !stream.Read32(&glyph.bytesPerRow) ||
            !stream.Read32(&glyph.leftInset) || !stream.Read32(&glyph.rightInset))
            return FontFileDamaged;
        if (!GlyphFieldsAreSane(glyph)) return FontFileDamaged;
        if (glyph.bytesPerRow == 0) continue;
        const int32_t size = font.height * glyph.bytesPerRow;
        glyph.bitmap = new (std::nothrow) uint8_t[size];
        if (glyph.bitmap == nullptr) return FontNoBitmapMemory;
        if (!stream.ReadBytes(glyph.bitmap, size)) return FontFileDamaged;
    }
    return FontLoaded;
}

int16_t ToInt16(int64_t value) {
    return static_cast<int16_t>(value < INT16_MIN ? INT16_MIN : (value > INT16_MAX ? INT16_MAX : value));
}

// Paints one glyph with its cell's top-left corner at (penX, y), pixel by pixel, skipping what
// lies outside the frame buffer. Grows the changed area by the clamped cell.
void PaintGlyph(const Glyph& glyph, int height, int64_t penX, int y, Rgb555 colour) {
    int16_t x0 = ToInt16(penX), y0 = ToInt16(y);
    int16_t x1 = ToInt16(penX + glyph.width - 1), y1 = ToInt16(int64_t{y} + height - 1);
    ClipRect(x0, y0, x1, y1);
    for (int v = 0; v < height; ++v) {
        const int screenY = y + v;
        if (screenY < 0 || screenY >= gFramework.screenHeight) continue;
        uint16_t* row = FrameBufferRow(screenY);
        const uint8_t* bits = glyph.bitmap + v * glyph.bytesPerRow;
        for (int u = 0; u < glyph.width; ++u) {
            const int64_t screenX = penX + u;
            if (screenX < 0 || screenX >= gFramework.screenWidth) continue;
            const int coverage = (u & 1) ? (bits[u >> 1] & 15) : (bits[u >> 1] >> 4);
            if (coverage == 15)
                row[screenX] = colour;
            else if (coverage != 0)
                row[screenX] = BlendCoverage(colour, row[screenX], coverage);
        }
    }
}

}  // namespace

int LoadFont(FolderPath* folder, int fontIndex) {
    if (fontIndex < 0 || fontIndex >= FontSlotCount || gFramework.fontTable == nullptr) return FontFileNotOpened;
    FreeFont(fontIndex);  // OpenGraphics loads empty slots only; anyone else must not leak one
    FileStream stream;
    if (!stream.Open(folder, FontFileNames[fontIndex], 0, BinaryRead)) return FontFileNotOpened;
    Font* font = new (std::nothrow) Font();
    if (font == nullptr) {
        stream.Close();
        return FontNoMemory;
    }
    gFramework.fontTable[fontIndex] = font;
    const int result = ReadFontBody(stream, *font);
    stream.Close();
    if (result != FontLoaded) FreeFont(fontIndex);
    return result;
}

void FreeFont(int fontIndex) {
    Font* font = FontInSlot(fontIndex);
    if (font == nullptr) return;
    for (int code = FirstGlyphCode; code <= 255; ++code) delete[] font->glyphs[code].bitmap;
    delete font;
    gFramework.fontTable[fontIndex] = nullptr;
}

int32_t FontHeight(int fontIndex) {
    if (!GraphicsAreOpen()) return DrawStatusGraphicsClosed;
    const Font* font = FontInSlot(fontIndex);
    return font == nullptr ? 0 : font->height;
}

int32_t CharacterGap(int fontIndex, const char* text, int position) {
    if (!GraphicsAreOpen()) return DrawStatusGraphicsClosed;
    const Font* font = FontInSlot(fontIndex);
    if (font == nullptr || text == nullptr || position <= 0 || text[position] == 0) return 0;
    // Codes 1 to 31 have all-zero records, so they count with zero insets as they should.
    const Glyph& before = font->glyphs[static_cast<uint8_t>(text[position - 1])];
    const Glyph& at = font->glyphs[static_cast<uint8_t>(text[position])];
    const int32_t gap = 3 * font->glyphs[uint8_t{' '}].width / 4 - before.rightInset - at.leftInset;
    return gap < 0 ? 0 : gap;
}

int32_t TextWidth(int fontIndex, const char* text) {
    if (!GraphicsAreOpen()) return DrawStatusGraphicsClosed;
    const Font* font = FontInSlot(fontIndex);
    if (font == nullptr || text == nullptr) return 0;
    int64_t width = 0;
    for (int i = 0; text[i] != 0; ++i) {
        const uint8_t byte = static_cast<uint8_t>(text[i]);
        if (byte < FirstGlyphCode) continue;
        width += font->glyphs[byte].width + CharacterGap(fontIndex, text, i + 1);
    }
    return static_cast<int32_t>(width > INT32_MAX ? INT32_MAX : width);
}

int32_t DrawText(int16_t x, int16_t y, int fontIndex, Rgb555 colour, const char* text) {
    if (!GraphicsAreOpen()) return DrawStatusGraphicsClosed;
    if (text == nullptr) return TextStatusNullText;
    const Font* font = FontInSlot(fontIndex);
    if (font == nullptr) return TextStatusEmptySlot;
    // The pen is kept wider than 16 bits so that a long line running off the right edge never
    // wraps round onto the left of the window.
    int64_t penX = x;
    for (int i = 0; text[i] != 0; ++i) {
        const uint8_t byte = static_cast<uint8_t>(text[i]);
        if (byte < FirstGlyphCode) continue;
        const Glyph& glyph = font->glyphs[byte];
        if (byte != ' ' && glyph.bitmap != nullptr) PaintGlyph(glyph, font->height, penX, y, colour);
        penX += glyph.width + CharacterGap(fontIndex, text, i + 1);
    }
    return 0;
}
