// font_test_files.h: a small hand-made .fnt font for the loader and text tests, written as bytes.
//
// The test font is 3 rows high. Every code has width 1, no bitmap and no insets, except:
//   ' '  width 8 with an all-15 bitmap (the space is never painted, bitmap or not); the
//        base gap is therefore (3 x 8) / 4 = 6
//   'A'  width 3, coverage rows  F 7 0 / 1 E F / 0 0 F  (the odd width's spare low nibble of
//        each row holds A, which must be ignored)
//   'B'  width 2, all 15, leftInset 2, rightInset 1
//   'C'  width 4, no bitmap, leftInset 10 (so the gap before it would be negative)
// Gaps: A|B 6 - 0 - 2 = 4, B|A 6 - 1 - 0 = 5, B|B 3, A|C 0, anything|control byte 6 - right inset.
#pragma once

#include <cstdint>
#include <map>
#include <vector>

struct TestGlyph {
    int32_t width = 1;
    int32_t bytesPerRow = 0;
    int32_t leftInset = 0;
    int32_t rightInset = 0;
    std::vector<uint8_t> bitmap;  // height x bytesPerRow bytes
};

inline void AppendInt32(std::vector<uint8_t>& bytes, int32_t value) {
    const uint32_t bits = static_cast<uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(bits >> shift));
}

// A font file: the height, then one entry per code 32-255, taken from `glyphs` or the default.
inline std::vector<uint8_t> BuildFontFile(int32_t height, const std::map<int, TestGlyph>& glyphs) {
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, height);
    for (int code = 32; code <= 255; ++code) {
        auto found = glyphs.find(code);
        const TestGlyph glyph = found == glyphs.end() ? TestGlyph() : found->second;
        AppendInt32(bytes, glyph.width);
        AppendInt32(bytes, glyph.bytesPerRow);
        AppendInt32(bytes, glyph.leftInset);
        AppendInt32(bytes, glyph.rightInset);
        bytes.insert(bytes.end(), glyph.bitmap.begin(), glyph.bitmap.end());
    }
    return bytes;
}

inline std::map<int, TestGlyph> TestFontGlyphs() {
    std::map<int, TestGlyph> glyphs;
    glyphs[' '] = TestGlyph{8, 4, 0, 0, std::vector<uint8_t>(12, 0xFF)};
    glyphs['A'] = TestGlyph{3, 2, 0, 0, {0xF7, 0x0A, 0x1E, 0xFA, 0x00, 0xFA}};
    glyphs['B'] = TestGlyph{2, 1, 2, 1, {0xFF, 0xFF, 0xFF}};
    glyphs['C'] = TestGlyph{4, 0, 10, 0, {}};
    return glyphs;
}

inline std::vector<uint8_t> TestFontFile() { return BuildFontFile(3, TestFontGlyphs()); }

// The coverage of 'A' at column u, row v, as the bitmap above says.
inline int TestCoverageOfA(int u, int v) {
    static const int levels[3][3] = {{15, 7, 0}, {1, 14, 15}, {0, 0, 15}};
    return levels[v][u];
}
