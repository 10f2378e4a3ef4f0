// The window's size arithmetic: fitting, centring and the WM_GETMINMAXINFO answer.
#include <gtest/gtest.h>

#include "framework/window_layout.h"

namespace {

// Borders of 3 pixels and an 18-pixel caption; a 1024 x 740 work area at the screen origin.
const WindowBorders kBorders{3, 3, 21};
const PixelSize kWorkArea{WorkAreaExtent(0, 1024), WorkAreaExtent(0, 740)};
const WindowLimits kNoLimits{-1, -1, -1, -1, 0};

TEST(WindowLayout, WorkedExampleFitsAndCentresTheInstallerWindow) {
    const PixelSize client = FitClientSize(PixelSize{550, 350}, kWorkArea, kBorders);
    EXPECT_EQ(550, client.width);
    EXPECT_EQ(350, client.height);
    const PixelSize outer = OuterWindowSize(client, kBorders);
    EXPECT_EQ(556, outer.width);
    EXPECT_EQ(374, outer.height);
    const PixelPoint position = CentredWindowPosition(outer, kWorkArea);
    EXPECT_EQ(234, position.x);
    EXPECT_EQ(183, position.y);
}

TEST(WindowLayout, ASmallWorkAreaShrinksTheClientAndPlacesTheWindowAtItsOrigin) {
    const PixelSize workArea{WorkAreaExtent(0, 500), WorkAreaExtent(0, 300)};  // 501 x 301
    const PixelSize client = FitClientSize(PixelSize{550, 350}, workArea, kBorders);
    EXPECT_EQ(495, client.width);   // 501 - 2 x 3
    EXPECT_EQ(277, client.height);  // 301 - 3 - 21
    EXPECT_EQ(0, CentredWindowPosition(OuterWindowSize(client, kBorders), workArea).y);
    // One axis too small only: the other keeps the request.
    const PixelSize narrow = FitClientSize(PixelSize{550, 350}, PixelSize{401, 741}, kBorders);
    EXPECT_EQ(395, narrow.width);
    EXPECT_EQ(350, narrow.height);
}

TEST(WindowLayout, CentringTruncatesTowardZeroAlsoWhenTheWindowIsLarger) {
    EXPECT_EQ(0, CentredWindowPosition(PixelSize{101, 10}, PixelSize{100, 10}).x);   // -1 / 2
    EXPECT_EQ(-1, CentredWindowPosition(PixelSize{103, 10}, PixelSize{100, 10}).x);  // -3 / 2
    EXPECT_EQ(2, CentredWindowPosition(PixelSize{10, 10}, PixelSize{15, 10}).x);     // 5 / 2
}

TEST(WindowLayout, LimitsAreNormalisedPerAxisAndAroundTheRequest) {
    // One of a pair missing drops the pair; no maximum at all clears the maximise flag.
    WindowLimits limits = NormaliseWindowLimits(550, 350, WindowLimits{100, -1, 200, 600, 1});
    EXPECT_EQ(-1, limits.minWidth);
    EXPECT_EQ(-1, limits.maxWidth);
    EXPECT_EQ(200, limits.minHeight);
    EXPECT_EQ(600, limits.maxHeight);
    EXPECT_EQ(1, limits.maximise);
    limits = NormaliseWindowLimits(550, 350, WindowLimits{100, -1, 200, -1, 1});
    EXPECT_EQ(0, limits.maximise);
    // A minimum above the request comes down to it, a maximum below it goes up to it.
    limits = NormaliseWindowLimits(550, 350, WindowLimits{600, 500, 400, 300, 0});
    EXPECT_EQ(550, limits.minWidth);
    EXPECT_EQ(550, limits.maxWidth);
    EXPECT_EQ(350, limits.maxHeight);
}

TEST(WindowLayout, AnyMaximumMakesTheWindowResizable) {
    EXPECT_EQ(0xCA0000u, ChooseWindowStyle(kNoLimits));
    EXPECT_EQ(0xCF0000u, ChooseWindowStyle(WindowLimits{300, 900, -1, -1, 0}));
    EXPECT_EQ(0xCF0000u, ChooseWindowStyle(WindowLimits{-1, -1, 100, 700, 0}));
}

TEST(WindowLayout, AFixedWindowIsHeldAtItsSizeAndCentredWhenMaximised) {
    MinMaxInfo info{};
    info.ptReserved = MinMaxPoint{77, 88};
    FillMinMaxInfo(&info, kNoLimits, PixelSize{550, 350}, kWorkArea, kBorders);
    EXPECT_EQ(556, info.ptMaxSize.x);
    EXPECT_EQ(374, info.ptMaxSize.y);
    EXPECT_EQ(234, info.ptMaxPosition.x);
    EXPECT_EQ(183, info.ptMaxPosition.y);
    EXPECT_EQ(556, info.ptMinTrackSize.x);
    EXPECT_EQ(374, info.ptMaxTrackSize.y);
    EXPECT_EQ(77, info.ptReserved.x);
}

TEST(WindowLayout, AResizableAxisTracksBetweenItsLimitsUpToTheWorkArea) {
    // Resizable borders of 4; width limits 300-2000, height fixed at the client height 350.
    const WindowBorders borders{4, 4, 22};
    MinMaxInfo info{};
    FillMinMaxInfo(&info, WindowLimits{300, 2000, -1, -1, 0}, PixelSize{550, 350}, kWorkArea, borders);
    EXPECT_EQ(1025, info.ptMaxSize.x);  // the work area is smaller than 2000 + 8
    EXPECT_EQ(0, info.ptMaxPosition.x);
    EXPECT_EQ(308, info.ptMinTrackSize.x);
    EXPECT_EQ(1025, info.ptMaxTrackSize.x);
    EXPECT_EQ(376, info.ptMaxSize.y);  // 350 + 4 + 22
    EXPECT_EQ(376, info.ptMinTrackSize.y);
    EXPECT_EQ(376, info.ptMaxTrackSize.y);
    EXPECT_EQ(182, info.ptMaxPosition.y);  // (741 - 376) / 2
    // A maximum inside the work area is the maximised size.
    FillMinMaxInfo(&info, WindowLimits{-1, -1, 200, 600, 0}, PixelSize{550, 350}, kWorkArea, borders);
    EXPECT_EQ(626, info.ptMaxSize.y);
    EXPECT_EQ(57, info.ptMaxPosition.y);  // (741 - 626) / 2
    EXPECT_EQ(226, info.ptMinTrackSize.y);
    EXPECT_EQ(626, info.ptMaxTrackSize.y);
}

TEST(WindowLayout, BottomUpSourceRowSelectsTheTopDownRows) {
    // One row of 10 pixels at row 5 of a 350-row buffer comes from source row 344.
    EXPECT_EQ(344, BottomUpSourceY(350, 5, 1));
    EXPECT_EQ(0, BottomUpSourceY(350, 349, 1));
    EXPECT_EQ(340, BottomUpSourceY(350, 0, 10));
}

}  // namespace
