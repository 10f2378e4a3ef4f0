// font_test.cpp: loading .fnt files from real files (good, missing, truncated, damaged), the
// measuring operations and DrawText (coverage, blending, control bytes, clipping at every edge)
// with the hand-made test font of font_test_files.h.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "framework/folder_path.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "tests/gfx/font_test_files.h"
#include "tests/gfx/frame_buffer_fixture.h"
#include "tests/support/test_files.h"

namespace {

class FontFileTest : public FrameBufferTest {
public:
    // Writes `bytes` as the file of `slot` in a temporary folder and loads it from there, the
    // way OpenGraphics does: through a FolderPath made at the current folder.
    int LoadBytes(const std::vector<uint8_t>& bytes, int slot = 1) {
        EXPECT_TRUE(WriteFileBytes(folder_.Join(FontFileNames[slot]), bytes));
        ScopedCurrentFolder here(folder_.path);
        FolderPath path;
        return LoadFont(&path, slot);
    }
    TempFolder folder_;
};

TEST_F(FontFileTest, LoadsEveryFieldAndBitmap) {
    ASSERT_EQ(0, LoadBytes(TestFontFile(), 2));
    const Font* font = gFramework.fontTable[2];
    ASSERT_NE(nullptr, font);
    EXPECT_EQ(3, font->height);
    const Glyph& b = font->glyphs['B'];
    EXPECT_EQ(2, b.width);
    EXPECT_EQ(1, b.bytesPerRow);
    EXPECT_EQ(2, b.leftInset);
    EXPECT_EQ(1, b.rightInset);
    ASSERT_NE(nullptr, font->glyphs['A'].bitmap);
    EXPECT_EQ(0, std::memcmp(font->glyphs['A'].bitmap, TestFontGlyphs()['A'].bitmap.data(), 6));
    EXPECT_EQ(nullptr, font->glyphs['C'].bitmap);
    EXPECT_EQ(4, font->glyphs['C'].width);
    for (int code = 0; code < 32; ++code) {
        EXPECT_EQ(0, font->glyphs[code].width);
        EXPECT_EQ(nullptr, font->glyphs[code].bitmap);
    }
    EXPECT_EQ(3, FontHeight(2));
    FreeFont(2);
    EXPECT_EQ(nullptr, gFramework.fontTable[2]);
    FreeFont(2);  // an empty slot is left alone
    EXPECT_EQ(0, FontHeight(2));
}

TEST_F(FontFileTest, AMissingFileGives7AndLeavesTheSlotEmpty) {
    ASSERT_EQ(0, LoadBytes(TestFontFile(), 0));
    ASSERT_EQ(0, LoadBytes(TestFontFile(), 0));  // a filled slot is freed and loaded again
    ScopedCurrentFolder here(folder_.path);
    ASSERT_EQ(0, std::remove(FontFileNames[0]));
    FolderPath path;
    EXPECT_EQ(7, LoadFont(&path, 0));
    EXPECT_EQ(nullptr, gFramework.fontTable[0]);
    // No slot outside 0-6, and nowhere to put a font without a table.
    EXPECT_EQ(7, LoadFont(&path, 7));
    EXPECT_EQ(7, LoadFont(&path, -1));
    gFramework.fontTable = nullptr;
    EXPECT_EQ(7, LoadFont(&path, 0));
}

TEST_F(FontFileTest, AFileCutShortAtAnyLengthGives9AndLeavesTheSlotEmpty) {
    // Every length through the height and the first entries, then every 7th, then every one
    // of the last 40 (inside the last bitmap and its entry).
    const std::vector<uint8_t> whole = TestFontFile();
    std::vector<size_t> lengths;
    for (size_t length = 0; length < whole.size(); length += (length < 80 || length + 40 >= whole.size()) ? 1 : 7)
        lengths.push_back(length);
    for (size_t length : lengths) {
        const std::vector<uint8_t> cut(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(length));
        ASSERT_EQ(9, LoadBytes(cut, 3)) << "cut at " << length << " of " << whole.size();
        ASSERT_EQ(nullptr, gFramework.fontTable[3]) << "cut at " << length;
    }
    // Bytes after the last entry are ignored.
    std::vector<uint8_t> longer = whole;
    longer.insert(longer.end(), 100, 0xEE);
    EXPECT_EQ(0, LoadBytes(longer, 3));
}

// The test font with one field of the glyph `code` (0 width, 1 bytesPerRow, 2 leftInset,
// 3 rightInset) or, with code -1, the height replaced by `value`.
std::vector<uint8_t> FontWithField(int code, int field, int32_t value) {
    std::map<int, TestGlyph> glyphs = TestFontGlyphs();
    if (code < 0) return BuildFontFile(value, glyphs);
    TestGlyph& glyph = glyphs[code];
    int32_t* fields[4] = {&glyph.width, &glyph.bytesPerRow, &glyph.leftInset, &glyph.rightInset};
    *fields[field] = value;
    return BuildFontFile(3, glyphs);
}

TEST_F(FontFileTest, FieldsOutOfRangeMarkADamagedFile) {
    struct Case {
        const char* what;
        int code, field;
        int32_t value;
    };
    const Case cases[] = {
        {"negative height", -1, 0, -3},
        {"zero height", -1, 0, 0},
        {"absurd height", -1, 0, 0x7fffffff},
        {"height just over the limit", -1, 0, FontMaxHeight + 1},
        {"negative width", 'D', 0, -1},
        {"absurd width", 'D', 0, 1 << 30},
        {"negative bytesPerRow", 'D', 1, -1},
        {"absurd bytesPerRow", 'D', 1, 0x7fffffff},
        {"bytesPerRow narrower than the width", 'A', 1, 1},
        {"bytesPerRow wider than the width", 'B', 1, 2},
        {"bitmap with zero width", 'E', 1, 1},
        {"absurd left inset", 'A', 2, -(1 << 30)},
        {"absurd right inset", 'A', 3, 1 << 30},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(9, LoadBytes(FontWithField(c.code, c.field, c.value), 4)) << c.what;
        EXPECT_EQ(nullptr, gFramework.fontTable[4]) << c.what;
    }
    // The limits themselves are accepted.
    EXPECT_EQ(0, LoadBytes(BuildFontFile(FontMaxHeight, {}), 5));
    FreeFont(5);
    EXPECT_EQ(0, LoadBytes(FontWithField('A', 2, -FontMaxGlyphWidth), 5));
}

// ---- measuring and drawing with the test font loaded into slot 1 -----------------------------

class TextTest : public FontFileTest {
public:
    void SetUp() override {
        FontFileTest::SetUp();
        UseBuffer(20, 6);
        ASSERT_EQ(0, LoadBytes(TestFontFile(), 1));
    }
};

TEST_F(TextTest, GapsFollowTheSpaceAndTheInsets) {
    EXPECT_EQ(4, CharacterGap(1, "AB", 1));
    EXPECT_EQ(5, CharacterGap(1, "BA", 1));
    EXPECT_EQ(3, CharacterGap(1, "BB", 1));
    EXPECT_EQ(0, CharacterGap(1, "AC", 1));   // 6 - 0 - 10 is negative
    EXPECT_EQ(5, CharacterGap(1, "B\n", 1));  // a control byte counts with zero insets
    EXPECT_EQ(0, CharacterGap(1, "AB", 2));   // the terminator
    EXPECT_EQ(0, CharacterGap(1, "AB", 0));   // nothing before the first byte
    EXPECT_EQ(0, CharacterGap(1, nullptr, 1));
    EXPECT_EQ(0, CharacterGap(0, "AB", 1));   // empty slot
}

TEST_F(TextTest, WidthsOfStrings) {
    EXPECT_EQ(3, TextWidth(1, "A"));            // the last character adds no gap
    EXPECT_EQ(3 + 4 + 2, TextWidth(1, "AB"));
    EXPECT_EQ(3 * 8 + 2 * 6, TextWidth(1, "   "));
    EXPECT_EQ(3 + 6 + 2, TextWidth(1, "A\nB"));  // the line feed neither paints nor advances
    EXPECT_EQ(4, TextWidth(1, "C"));
    EXPECT_EQ(0, TextWidth(1, ""));
    EXPECT_EQ(0, TextWidth(1, nullptr));
    EXPECT_EQ(0, TextWidth(0, "AB"));
}

TEST_F(TextTest, ClosedGraphicsNullTextAndEmptySlotsDrawNothing) {
    EXPECT_EQ(12, DrawText(0, 0, 1, ColourWhite, nullptr));
    EXPECT_EQ(13, DrawText(0, 0, 0, ColourWhite, "A"));
    EXPECT_EQ(13, DrawText(0, 0, 9, ColourWhite, "A"));
    gFramework.graphicsOpening = 1;
    EXPECT_EQ(3, FontHeight(1));
    EXPECT_EQ(3, CharacterGap(1, "AB", 1));
    EXPECT_EQ(3, TextWidth(1, "AB"));
    EXPECT_EQ(3, DrawText(0, 0, 1, ColourWhite, "AB"));
    gFramework.graphicsOpening = 0;
    EXPECT_EQ((DirtyRect{-1, -1, -1, -1}), gFramework.dirtyRect);
    EXPECT_EQ(0, CountPixels(ColourWhite));
}

TEST_F(TextTest, CoverageFifteenWritesTheColourAndLowerLevelsBlend) {
    const uint16_t background = 0x8000 | Grey(12);  // bit 15 set beneath: blending clears it
    Fill(background);
    EXPECT_EQ(0, DrawText(2, 1, 1, ColourHeadingYellow, "A"));
    for (int v = 0; v < 3; ++v)
        for (int u = 0; u < 3; ++u) {
            const int coverage = TestCoverageOfA(u, v);
            const uint16_t pixel = Pixel(2 + u, 1 + v);
            if (coverage == 0)
                EXPECT_EQ(background, pixel) << u << "," << v;
            else if (coverage == 15)
                EXPECT_EQ(0xffe0, pixel) << u << "," << v;
            else
                EXPECT_EQ(BlendCoverage(0xffe0, background, coverage), pixel) << u << "," << v;
        }
    // Worked blend at coverage 7 over grey 12 (96): red (248 x 7 + 96 x 8) / 15 = 166 -> 20,
    // blue (0 x 7 + 96 x 8) / 15 = 51 -> 6; bit 15 clear.
    EXPECT_EQ(20 << 10 | 20 << 5 | 6, Pixel(3, 1));
    // The spare nibble of the odd width paints nothing.
    EXPECT_EQ(background, Pixel(5, 1));
    EXPECT_EQ((DirtyRect{2, 4, 1, 3}), gFramework.dirtyRect);
}

TEST_F(TextTest, ThePenAdvancesAsTextWidthSaysAndSkipsControlBytes) {
    DrawText(1, 0, 1, ColourWhite, "A\x0a\x01" "B B");
    // A at 1-3; the gap to the line feed (6); B at 10-11; the gap 6 - 1 = 5 to the space; the
    // space (8, never painted although this one has a bitmap); the gap 6 - 2 = 4; B at 29,
    // outside the 20 columns.
    EXPECT_EQ(".#........##........", RowPattern(0, ColourWhite));
    EXPECT_EQ(9, CountPixels(ColourWhite));  // the three full pixels of A and all six of B
    // Drawing a string leaves the pen at x + TextWidth: the next string drawn there continues
    // the line as one string would, when the gap between them is taken into account.
    UseBuffer(20, 6);
    ASSERT_EQ(0, LoadBytes(TestFontFile(), 1));
    DrawText(0, 0, 1, ColourWhite, "AB");
    const std::vector<uint16_t> whole = pixels_;
    UseBuffer(20, 6);
    ASSERT_EQ(0, LoadBytes(TestFontFile(), 1));
    DrawText(0, 0, 1, ColourWhite, "A");
    DrawText(static_cast<int16_t>(TextWidth(1, "A") + CharacterGap(1, "AB", 1)), 0, 1, ColourWhite, "B");
    EXPECT_EQ(whole, pixels_);
}

TEST_F(TextTest, AGlyphWithoutBitmapAdvancesWithoutPainting) {
    DrawText(0, 0, 1, ColourWhite, "CB");
    // C is 4 wide and unpainted; the gap C|B is 6 - 0 - 2 = 4, so B stands at 8-9.
    EXPECT_EQ("........##..........", RowPattern(0, ColourWhite));
    EXPECT_EQ((DirtyRect{8, 9, 0, 2}), gFramework.dirtyRect);
}

// Renders `text` at (x, y) into this fixture's buffer over grey, and the same text at (0, 0)
// into a large reference buffer; every pixel of the small buffer must equal the reference
// pixel at the same place relative to the text.
void ExpectClippedLikeTheReference(TextTest& test, int width, int height, int x, int y, const char* text) {
    test.UseBuffer(60, 10);
    ASSERT_EQ(0, test.LoadBytes(TestFontFile(), 1));
    test.Fill(Grey(9));
    DrawText(0, 0, 1, 0x7c1f, text);
    const std::vector<uint16_t> reference = test.pixels_;
    const int referenceStride = test.stride_;

    test.UseBuffer(width, height);
    ASSERT_EQ(0, test.LoadBytes(TestFontFile(), 1));
    test.Fill(Grey(9));
    EXPECT_EQ(0, DrawText(static_cast<int16_t>(x), static_cast<int16_t>(y), 1, 0x7c1f, text));
    for (int sy = 0; sy < height; ++sy)
        for (int sx = 0; sx < width; ++sx) {
            const int rx = sx - x, ry = sy - y;
            const uint16_t expected = (rx >= 0 && rx < 60 && ry >= 0 && ry < 10)
                                          ? reference[static_cast<size_t>(ry) * referenceStride + rx]
                                          : Grey(9);
            ASSERT_EQ(expected, test.Pixel(sx, sy)) << "at " << sx << "," << sy << " for text at " << x << "," << y;
        }
    EXPECT_TRUE(test.PaddingIntact());
    const DirtyRect& dirty = gFramework.dirtyRect;
    EXPECT_TRUE(dirty.x0 >= 0 && dirty.x1 < width && dirty.y0 >= 0 && dirty.y1 < height) << dirty;
}

TEST_F(TextTest, TextIsClippedPixelByPixelAtEveryEdge) {
    const char* text = "ABAB";  // 3 + 4 + 2 + 5 + 3 + 4 + 2 = 23 wide
    for (int x : {-1, -2, -3, -5, -9, -22, 0, 3})
        for (int y : {-2, -1, 0, 1, 2, 3, 4}) ExpectClippedLikeTheReference(*this, 9, 5, x, y, text);
    ExpectClippedLikeTheReference(*this, 7, 4, 4, 2, text);  // running off the right and the bottom
}

TEST_F(TextTest, CellsOutsideTheBufferGrowTheChangedAreaOnlyByTheirClampedEdge) {
    DrawText(-10, 1, 1, ColourWhite, "A");  // wholly left of the buffer
    EXPECT_EQ(0, CountPixels(ColourWhite));
    EXPECT_EQ((DirtyRect{0, 0, 1, 3}), gFramework.dirtyRect);
    ResetDirty();
    DrawText(30000, -9, 1, ColourWhite, "ABABABABAB");  // far right and above
    EXPECT_EQ(0, CountPixels(ColourWhite));
    EXPECT_EQ((DirtyRect{19, 19, 0, 0}), gFramework.dirtyRect);
}

TEST_F(TextTest, ALongLineRunningPastTheRightEdgeNeverWrapsOntoTheLeft) {
    std::string line(20000, 'B');
    DrawText(32000, 0, 1, ColourWhite, line.c_str());
    EXPECT_EQ(0, CountPixels(ColourWhite));
}

}  // namespace
