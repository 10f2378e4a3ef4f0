// draw_test.cpp: clipping, lines, rectangles, gradients, tint and colour scaling on a frame
// buffer in memory (16 x 12 unless a test says otherwise).
#include <gtest/gtest.h>

#include "gfx/draw.h"
#include "tests/gfx/frame_buffer_fixture.h"

namespace {

using ClipRectTest = FrameBufferTest;

TEST_F(ClipRectTest, ClampsOrdersAndGrowsTheChangedArea) {
    int16_t x0 = 20, y0 = 7, x1 = -4, y1 = 2;
    ClipRect(x0, y0, x1, y1);
    EXPECT_EQ(0, x0);
    EXPECT_EQ(15, x1);
    EXPECT_EQ(2, y0);
    EXPECT_EQ(7, y1);
    EXPECT_EQ((DirtyRect{0, 15, 2, 7}), gFramework.dirtyRect);
    // Wholly outside: clamped onto the nearest edge, and the area grows only where it passes.
    int16_t a = 30, b = -9, c = 40, d = -2;
    ClipRect(a, b, c, d);
    EXPECT_EQ(15, a);
    EXPECT_EQ(15, c);
    EXPECT_EQ(0, b);
    EXPECT_EQ(0, d);
    EXPECT_EQ((DirtyRect{0, 15, 0, 7}), gFramework.dirtyRect);
}

using ClosedGraphicsTest = FrameBufferTest;

TEST_F(ClosedGraphicsTest, EveryPrimitiveReturns3AndWritesNothing) {
    const DirtyRect before{3, 4, 5, 6};
    for (int variant = 0; variant < 2; ++variant) {
        if (variant == 0) {
            gFramework.graphicsOpening = 1;  // OpenGraphics still under way, buffer present
        } else {
            gFramework.graphicsOpening = 0;
            gFramework.frameBuffer = nullptr;
        }
        gFramework.dirtyRect = before;
        EXPECT_FALSE(GraphicsAreOpen());
        EXPECT_EQ(3, DrawLine(0, 0, 15, 11, LineSolid, ColourWhite));
        EXPECT_EQ(3, DrawLine(0, 3, 15, 3, LineDotted, ColourWhite));
        for (uint16_t style : {1, 2, 4, 8, 16, 32, 64, 128})
            EXPECT_EQ(3, DrawRect(0, 0, 15, 11, style, ColourWhite, 0));
        EXPECT_EQ(before, gFramework.dirtyRect);
    }
    gFramework.frameBuffer = pixels_.data();
    EXPECT_EQ(0, CountPixels(ColourWhite));
}

using DrawLineTest = FrameBufferTest;

TEST_F(DrawLineTest, AnEndBeyondTheBufferIsClampedOntoItsEdge) {
    EXPECT_EQ(0, DrawLine(0, 5, 16, 5, LineSolid, ColourBlue));
    EXPECT_EQ("################", RowPattern(5, ColourBlue));
    EXPECT_EQ((DirtyRect{0, 15, 5, 5}), gFramework.dirtyRect);
    EXPECT_TRUE(PaddingIntact());
    // Above the buffer: along the top row; right of it: down the last column.
    DrawLine(3, -5, 9, -20, LineSolid, ColourWhite);
    EXPECT_EQ("...#######......", RowPattern(0, ColourWhite));
    DrawLine(40, 2, 30, 4, LineSolid, ColourWhite);
    EXPECT_EQ(7 + 3, CountPixels(ColourWhite));
    EXPECT_EQ(ColourWhite, Pixel(15, 4));
}

TEST_F(DrawLineTest, DottedLinesDrawFourAndSkipTwo) {
    DrawLine(0, 1, 11, 1, LineDotted, ColourWhite);
    EXPECT_EQ("####..####......", RowPattern(1, ColourWhite));
    // Drawn right to left, the pattern still starts at the clipped box's left end.
    DrawLine(15, 3, 4, 3, LineDotted, ColourWhite);
    EXPECT_EQ("....####..####..", RowPattern(3, ColourWhite));
    // Vertical: the same pattern down the column. Bits other than bit 0 are ignored.
    DrawLine(7, 0, 7, 11, 0xFFFE, ColourBlue);
    std::string column;
    for (int y = 0; y < Height(); ++y) column += Pixel(7, y) == ColourBlue ? '#' : '.';
    EXPECT_EQ("####..####..", column);
}

// The cells a general line sets, as strings of '#' per row (only the rows asked for).
std::vector<std::string> Rows(FrameBufferTest& test, int rows, int columns, uint16_t colour) {
    std::vector<std::string> out;
    for (int y = 0; y < rows; ++y) out.push_back(test.RowPattern(y, colour).substr(0, columns));
    return out;
}

TEST_F(DrawLineTest, BresenhamStepsTheMinorCoordinateWhenTheErrorIsExactlyZero) {
    // Flat, dx 4 dy 2: the error starts at 0, so the second point is already one row down.
    DrawLine(0, 0, 4, 2, LineSolid, ColourWhite);
    EXPECT_EQ((std::vector<std::string>{"#....", ".##..", "...##"}), Rows(*this, 3, 5, ColourWhite));
    // The same line given the other way round sets the same pixels.
    UseBuffer(16, 12);
    DrawLine(4, 2, 0, 0, LineSolid, ColourWhite);
    EXPECT_EQ((std::vector<std::string>{"#....", ".##..", "...##"}), Rows(*this, 3, 5, ColourWhite));
    // Steep, dx 2 dy 4: x and y exchanged.
    UseBuffer(16, 12);
    DrawLine(0, 0, 2, 4, LineSolid, ColourWhite);
    EXPECT_EQ((std::vector<std::string>{"#..", ".#.", ".#.", "..#", "..#"}), Rows(*this, 5, 3, ColourWhite));
    // Rising to the right (ystep -1).
    UseBuffer(16, 12);
    DrawLine(0, 2, 4, 0, LineSolid, ColourWhite);
    EXPECT_EQ((std::vector<std::string>{"...##", ".##..", "#...."}), Rows(*this, 3, 5, ColourWhite));
}

TEST_F(DrawLineTest, ADottedDiagonalStartsItsPatternAtItsFirstPointInsideTheBuffer) {
    DrawLine(-3, -3, 11, 11, LineDotted, ColourWhite);
    std::string diagonal;
    for (int i = 0; i < 12; ++i) diagonal += Pixel(i, i) == ColourWhite ? '#' : '.';
    EXPECT_EQ("####..####..", diagonal);
    EXPECT_EQ(8, CountPixels(ColourWhite));
    EXPECT_EQ((DirtyRect{0, 11, 0, 11}), gFramework.dirtyRect);
}

TEST_F(DrawLineTest, ADiagonalLeavingTheBufferDrawsOnlyItsInsidePoints) {
    DrawLine(10, 6, 40, 36, LineSolid, ColourWhite);
    EXPECT_EQ(6, CountPixels(ColourWhite));  // (10, 6) to (15, 11)
    EXPECT_EQ(ColourWhite, Pixel(15, 11));
    EXPECT_TRUE(PaddingIntact());
}

using DrawRectTest = FrameBufferTest;

TEST_F(DrawRectTest, FillCoversExactlyTheInclusiveArea) {
    EXPECT_EQ(0, DrawRect(10, 10, 10, 10, RectFill, ColourWhite, RectKeepBackground));
    EXPECT_EQ(1, CountPixels(ColourWhite));
    EXPECT_EQ(ColourWhite, Pixel(10, 10));
    EXPECT_EQ((DirtyRect{10, 10, 10, 10}), gFramework.dirtyRect);

    UseBuffer(100, 30);
    DrawRect(90, 20, 10, 10, RectFill, ColourBlue, RectKeepBackground);
    const std::vector<uint16_t> reversed = pixels_;
    UseBuffer(100, 30);
    DrawRect(10, 10, 90, 20, RectFill, ColourBlue, RectKeepBackground);
    EXPECT_EQ(reversed, pixels_);
    EXPECT_EQ(81 * 11, CountPixels(ColourBlue));
}

TEST_F(DrawRectTest, FillWritesTheColourUnchangedBit15IncludedAndNothingPastTheRow) {
    UseBuffer(5, 3);  // odd width: each row ends in a padding pixel
    DrawRect(-10, -10, 50, 50, RectFill, ColourHeadingYellow, RectKeepBackground);
    EXPECT_EQ(15, CountPixels(0xffe0));
    EXPECT_TRUE(PaddingIntact());
}

TEST_F(DrawRectTest, Style3IsADottedOutlineAndStyle12AFill) {
    UseBuffer(20, 12);
    DrawRect(0, 0, 13, 9, 3, ColourWhite, RectKeepBackground);
    EXPECT_EQ("####..####..##......", RowPattern(0, ColourWhite));  // top, left to right
    // The bottom line is given from (13, 9) leftwards; its pattern starts at the ordered box's
    // left end all the same.
    EXPECT_EQ("####..####..##......", RowPattern(9, ColourWhite));
    EXPECT_EQ(0, Pixel(5, 5));                                      // inside untouched
    EXPECT_EQ(ColourWhite, Pixel(13, 3));                           // right side, rows 0-3 drawn
    EXPECT_EQ(0, Pixel(13, 4));

    UseBuffer(20, 12);
    DrawRect(2, 2, 5, 4, 12, ColourBlue, ColourWhite);
    EXPECT_EQ(12, CountPixels(ColourBlue));
    EXPECT_EQ(0, CountPixels(ColourWhite));
}

TEST_F(DrawRectTest, SolidOutlineLeavesTheInsideAlone) {
    Fill(ColourDarkGrey);
    DrawRect(1, 1, 6, 4, RectSolidOutline, ColourWhite, RectKeepBackground);
    EXPECT_EQ(".######.........", RowPattern(1, ColourWhite));
    EXPECT_EQ(".#....#.........", RowPattern(2, ColourWhite));
    EXPECT_EQ(".######.........", RowPattern(4, ColourWhite));
    EXPECT_EQ(ColourDarkGrey, Pixel(3, 3));
}

// The 5-bit grey level of each pixel of a row (the test's gradients are grey).
std::vector<int> GreyRow(FrameBufferTest& test, int y, int x0, int x1) {
    std::vector<int> levels;
    for (int x = x0; x <= x1; ++x) {
        const uint16_t p = test.Pixel(x, y);
        EXPECT_EQ(p & 0x1f, (p >> 10) & 0x1f) << "not grey at " << x;
        levels.push_back(p & 0x1f);
    }
    return levels;
}

TEST_F(DrawRectTest, FiveColumnGradientGivesTheDitheredGreyLevelsInEveryRow) {
    DrawRect(2, 3, 6, 8, RectGradientLeftToRight, ColourBlack, ColourWhite);
    for (int y = 3; y <= 8; ++y) EXPECT_EQ((std::vector<int>{0, 7, 16, 23, 31}), GreyRow(*this, y, 2, 6)) << "row " << y;
    EXPECT_EQ(0, Pixel(7, 3));
    EXPECT_EQ((DirtyRect{2, 6, 3, 8}), gFramework.dirtyRect);
}

TEST_F(DrawRectTest, Mode8PutsTheSecondColourOnTheLeft) {
    DrawRect(0, 0, 4, 0, RectGradientRightToLeft, ColourBlack, ColourWhite);
    // Targets 248, 186, 124, 62, 0; carried errors 0, 2, 6, 4 lift the last three to 126, 68, 4.
    EXPECT_EQ((std::vector<int>{31, 23, 15, 8, 0}), GreyRow(*this, 0, 0, 4));
}

TEST_F(DrawRectTest, VerticalGradientsInterpolateOverRowsAndCarryErrorAlongEachRow) {
    // Mode 64: top row colour (black), bottom row second colour (white). Every row starts with
    // no carried error, so a one-column gradient is the plain truncation of each row's target.
    DrawRect(0, 0, 0, 4, RectGradientTopToBottom, ColourBlack, ColourWhite);
    std::vector<int> column;
    for (int y = 0; y <= 4; ++y) column.push_back(Pixel(0, y) & 0x1f);
    EXPECT_EQ((std::vector<int>{0, 7, 15, 23, 31}), column);
    // Along a row of constant target 62 the error is carried: 62, 68, 66, 64 -> 7, 8, 8, 8.
    UseBuffer(16, 12);
    DrawRect(0, 0, 3, 4, RectGradientTopToBottom, ColourBlack, ColourWhite);
    EXPECT_EQ((std::vector<int>{7, 8, 8, 8}), GreyRow(*this, 1, 0, 3));
    // Mode 32 is the mirror: second colour on top.
    UseBuffer(16, 12);
    DrawRect(0, 0, 0, 4, RectGradientBottomToTop, ColourBlack, ColourWhite);
    EXPECT_EQ(31, Pixel(0, 0) & 0x1f);
    EXPECT_EQ(0, Pixel(0, 4) & 0x1f);
}

TEST_F(DrawRectTest, KeepBackgroundFadesFromThePixelsBeneath) {
    Fill(ColourWhite);
    Pixel(4, 1) = ColourBlue;  // a different pixel beneath the far end of row 1
    DrawRect(0, 0, 4, 1, RectGradientLeftToRight, ColourBlack, RectKeepBackground);
    EXPECT_EQ((std::vector<int>{0, 7, 16, 23, 31}), GreyRow(*this, 0, 0, 4));
    EXPECT_EQ(ColourBlue, Pixel(4, 1) & 0x7fff);
    // Mode 8 takes the background at the left end; black over white comes out reversed.
    UseBuffer(16, 12);
    Fill(ColourWhite);
    DrawRect(0, 0, 4, 0, RectGradientRightToLeft, ColourBlack, ColourWhite | RectKeepBackground);
    EXPECT_EQ((std::vector<int>{31, 23, 15, 8, 0}), GreyRow(*this, 0, 0, 4));
}

TEST_F(DrawRectTest, AGradientWithoutSpanPaintsItsEndColour) {
    const uint16_t red = 0x7c00, green = 0x03e0;
    DrawRect(3, 0, 3, 5, RectGradientLeftToRight, red, green);  // one column: end is the second colour
    DrawRect(5, 0, 5, 5, RectGradientRightToLeft, red, green);  // end is the colour
    DrawRect(0, 7, 9, 7, RectGradientTopToBottom, red, green);  // one row
    DrawRect(0, 9, 9, 9, RectGradientBottomToTop, red, green);
    for (int y = 0; y <= 5; ++y) {
        EXPECT_EQ(green, Pixel(3, y));
        EXPECT_EQ(red, Pixel(5, y));
    }
    EXPECT_EQ(green, Pixel(9, 7));
    EXPECT_EQ(red, Pixel(0, 9));
}

TEST_F(DrawRectTest, TintIsOneThirdOldTwoThirdsColour) {
    Fill(ColourWhite);
    EXPECT_EQ(0, DrawRect(1, 1, 2, 2, RectTint, ColourBlack, RectKeepBackground));
    EXPECT_EQ(Grey(10), Pixel(2, 2));
    EXPECT_EQ(ColourWhite, Pixel(0, 0));
    EXPECT_EQ(Grey(20), TintPixel(ColourBlack, ColourWhite));  // (0 + 2 x 248) / 3 = 165 -> 20
}

TEST(ScaleColourTest, WorkedValuesAndLimits) {
    EXPECT_EQ(0x7fff, ScaleColour(ColourButtonFace, 166));
    EXPECT_EQ(Grey(16), ScaleColour(ColourButtonFace, 66));
    EXPECT_EQ(0x7fff, ScaleColour(ColourWhite, 1000));
    EXPECT_EQ(0, ScaleColour(ColourWhite, -50));
    EXPECT_EQ(0x7c00 | 0x0200 | 0x0008, ScaleColour(0x7c00 | 0x0200 | 0x0008, 100));
    EXPECT_EQ(0, ScaleColour(0x8000, 100));  // bit 15 takes no part
}

TEST(BlendCoverageTest, MixesEachChannelByCoverageOverFifteen) {
    // Text white over black at coverage 7: 248 x 7 / 15 = 115 -> 14.
    EXPECT_EQ(Grey(14), BlendCoverage(ColourWhite, ColourBlack, 7));
    // Channels stay apart: red text over blue background.
    const uint16_t mixed = BlendCoverage(0x7c00, 0x001f, 5);
    EXPECT_EQ(82 >> 3, (mixed >> 10) & 0x1f);  // 248 x 5 / 15
    EXPECT_EQ(0, (mixed >> 5) & 0x1f);
    EXPECT_EQ(165 >> 3, mixed & 0x1f);  // 248 x 10 / 15
    EXPECT_EQ(0, BlendCoverage(0xffe0, 0x8000, 14) & 0x8000);
}

}  // namespace
