// make_font: rasterises an outline typeface at one pixel size into the installer's .fnt format.
//
//   make_font <typeface file> <pixel size> <output .fnt>
//
// Every character code 32 to 255 is taken as Windows-1252 and looked up in the typeface by its
// Unicode code point. The five codes Windows-1252 leaves undefined, 127 (a control character)
// and any character the typeface lacks become glyphs without bitmap and without width, so they
// take no room in a line.
//
// Glyphs are loaded with the typeface's own hinting and rendered with 8-bit anti-aliasing; each
// coverage is rounded to the format's 16 levels. All glyphs share one baseline: the cell height
// is the deepest ascent plus the deepest descent of the ink over all 224 codes, so no accent or
// descender is ever cut.
//
// Spacing. The format places neighbouring inks G = (3 x space width) / 4 apart, less the right
// inset of the first glyph and the left inset of the second (never below 0). Each glyph's cell
// is cut tight to its ink (blank columns trimmed), and its insets are set to
//     leftInset  = G / 2 - left side bearing
//     rightInset = (G - G / 2) - right side bearing
// so that the gap between two inks comes out as right bearing + left bearing in whole pixels:
// exactly what the typeface's own advances give. The space (and any glyph without ink) keeps
// its advance as its width, with insets G / 2 and G - G / 2, so a space stands as wide as in
// the typeface. Kerning is not applied; negative bearings (overhangs) are not reproduced.
//
// The output depends only on the typeface file, the pixel size and the FreeType version: the
// same inputs give the same bytes on every run. tools/make_fonts.sh makes the seven files.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_DRIVER_H
#include FT_MODULE_H

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// Unicode code points of Windows-1252 bytes 0x80-0x9F; 0 marks the five undefined codes.
const uint16_t Cp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// The Unicode code point of a Windows-1252 byte; 0 for the undefined codes and for 127, which
// is a control character.
uint32_t Cp1252ToUnicode(int code) {
    if (code == 0x7F) return 0;
    if (code >= 0x80 && code < 0xA0) return Cp1252High[code - 0x80];
    return static_cast<uint32_t>(code);
}

// One character as rendered: its ink cut to the non-blank columns, placed against the baseline.
struct RenderedGlyph {
    bool hasInk = false;
    int advance = 0;        // whole pixels, hinted
    int inkLeft = 0;        // left side bearing: pen origin to first ink column
    int inkWidth = 0;
    int inkTop = 0;         // rows above the baseline (bitmap_top)
    int inkRows = 0;
    std::vector<uint8_t> levels;  // inkRows x inkWidth coverage levels 0-15
};

int RoundToLevel(int coverage) { return (coverage * 15 + 127) / 255; }

bool RenderCharacter(FT_Face face, uint32_t codePoint, RenderedGlyph* out) {
    const FT_UInt index = FT_Get_Char_Index(face, codePoint);
    if (index == 0) return false;
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT | FT_LOAD_TARGET_NORMAL) != 0) return false;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL) != 0) return false;
    const FT_GlyphSlot slot = face->glyph;
    const FT_Bitmap& bitmap = slot->bitmap;
    out->advance = static_cast<int>((slot->advance.x + 32) >> 6);

    // Coverage levels, then the blank rows and columns trimmed away.
    const int rows = static_cast<int>(bitmap.rows), columns = static_cast<int>(bitmap.width);
    std::vector<uint8_t> levels(static_cast<size_t>(rows) * columns);
    int firstColumn = columns, lastColumn = -1, firstRow = rows, lastRow = -1;
    for (int r = 0; r < rows; ++r) {
        const uint8_t* source = bitmap.buffer + static_cast<ptrdiff_t>(r) * bitmap.pitch;
        for (int c = 0; c < columns; ++c) {
            const int level = RoundToLevel(source[c]);
            levels[static_cast<size_t>(r) * columns + c] = static_cast<uint8_t>(level);
            if (level == 0) continue;
            if (c < firstColumn) firstColumn = c;
            if (c > lastColumn) lastColumn = c;
            if (r < firstRow) firstRow = r;
            if (r > lastRow) lastRow = r;
        }
    }
    if (lastColumn < 0) return true;  // a blank character such as the space
    out->hasInk = true;
    out->inkLeft = slot->bitmap_left + firstColumn;
    out->inkWidth = lastColumn - firstColumn + 1;
    out->inkTop = slot->bitmap_top - firstRow;
    out->inkRows = lastRow - firstRow + 1;
    out->levels.resize(static_cast<size_t>(out->inkRows) * out->inkWidth);
    for (int r = 0; r < out->inkRows; ++r)
        for (int c = 0; c < out->inkWidth; ++c)
            out->levels[static_cast<size_t>(r) * out->inkWidth + c] =
                levels[static_cast<size_t>(r + firstRow) * columns + c + firstColumn];
    return true;
}

void Put32(std::vector<uint8_t>& file, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) file.push_back(static_cast<uint8_t>(bits >> shift));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: make_font <typeface file> <pixel size> <output .fnt>\n");
        return 2;
    }
    const std::string typefacePath = argv[1], outputPath = argv[3];
    const int pixelSize = std::atoi(argv[2]);
    if (pixelSize < 4 || pixelSize > 200) {
        std::fprintf(stderr, "make_font: pixel size %s is not between 4 and 200\n", argv[2]);
        return 2;
    }

    FT_Library library;
    FT_Face face;
    if (FT_Init_FreeType(&library) != 0) {
        std::fprintf(stderr, "make_font: FreeType does not start\n");
        return 1;
    }
    // The TrueType hinting interpreter is named rather than taken from FREETYPE_PROPERTIES, so
    // that the environment cannot change the output.
    FT_UInt interpreter = TT_INTERPRETER_VERSION_40;
    FT_Property_Set(library, "truetype", "interpreter-version", &interpreter);
    if (FT_New_Face(library, typefacePath.c_str(), 0, &face) != 0 ||
        FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixelSize)) != 0) {
        std::fprintf(stderr, "make_font: cannot open %s at %d pixels\n", typefacePath.c_str(), pixelSize);
        FT_Done_FreeType(library);
        return 1;
    }

    RenderedGlyph glyphs[256];
    int ascent = 0, descent = 0;
    for (int code = 32; code <= 255; ++code) {
        const uint32_t codePoint = Cp1252ToUnicode(code);
        if (codePoint == 0) continue;
        if (!RenderCharacter(face, codePoint, &glyphs[code])) {
            std::fprintf(stderr, "make_font: %s has no glyph for code %d (U+%04X); left empty\n",
                         typefacePath.c_str(), code, static_cast<unsigned>(codePoint));
            glyphs[code] = RenderedGlyph();
            continue;
        }
        const RenderedGlyph& g = glyphs[code];
        if (!g.hasInk) continue;
        if (g.inkTop > ascent) ascent = g.inkTop;
        if (g.inkRows - g.inkTop > descent) descent = g.inkRows - g.inkTop;
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);

    const int height = ascent + descent;
    const int spaceWidth = glyphs[32].advance;
    const int baseGap = 3 * spaceWidth / 4;
    const int leftHalf = baseGap / 2, rightHalf = baseGap - baseGap / 2;

    std::vector<uint8_t> file;
    Put32(file, height);
    for (int code = 32; code <= 255; ++code) {
        const RenderedGlyph& g = glyphs[code];
        if (!g.hasInk) {
            // The space, other blank characters and the undefined codes: no bitmap, the
            // advance as width (0 for an undefined code), gaps that leave the bearings of the
            // neighbours alone.
            Put32(file, g.advance);
            Put32(file, 0);
            Put32(file, leftHalf);
            Put32(file, rightHalf);
            continue;
        }
        const int rightBearing = g.advance - (g.inkLeft + g.inkWidth);
        const int bytesPerRow = (g.inkWidth + 1) / 2;
        Put32(file, g.inkWidth);
        Put32(file, bytesPerRow);
        Put32(file, leftHalf - g.inkLeft);
        Put32(file, rightHalf - rightBearing);
        std::vector<uint8_t> cell(static_cast<size_t>(height) * bytesPerRow, 0);
        const int firstRow = ascent - g.inkTop;
        for (int r = 0; r < g.inkRows; ++r)
            for (int c = 0; c < g.inkWidth; ++c) {
                const uint8_t level = g.levels[static_cast<size_t>(r) * g.inkWidth + c];
                uint8_t& byte = cell[static_cast<size_t>(firstRow + r) * bytesPerRow + c / 2];
                byte |= (c & 1) ? level : static_cast<uint8_t>(level << 4);
            }
        file.insert(file.end(), cell.begin(), cell.end());
    }

    FILE* out = std::fopen(outputPath.c_str(), "wb");
    if (out == nullptr) {
        std::fprintf(stderr, "make_font: cannot create %s\n", outputPath.c_str());
        return 1;
    }
    const bool written = std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "make_font: cannot write %s\n", outputPath.c_str());
        std::remove(outputPath.c_str());
        return 1;
    }
    std::printf("%s: %d pixels, height %d (ascent %d, descent %d), space %d\n", outputPath.c_str(), pixelSize,
                height, ascent, descent, spaceWidth);
    return 0;
}
