// Opening and closing the graphics, the frame buffer, titles and presentation, through the
// headless backend.
#include <gtest/gtest.h>

#include <algorithm>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "framework/window_layout.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "tests/display/display_test_support.h"
#include "tests/support/test_files.h"

namespace {

using OpenGraphicsTest = DisplayTest;
using FrameBufferTest = DisplayTest;
using PresentTest = DisplayTest;

// Opens the installer's window (550 x 350, no limits) with the fonts of `folder`.
int OpenInstallerWindow(TestApp& app, const std::string& folder, const char* title = "Tallyfield Update") {
    ScopedCurrentFolder current(folder);
    FolderPath fontFolder;
    return app.OpenGraphics(550, 350, title, 0, &fontFolder, -1, -1, -1, -1);
}

TEST_F(OpenGraphicsTest, TheInstallerWindowIsCentredFixedAndHasAZeroedBufferAndSevenFonts) {
    TestApp app;
    ASSERT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder()));

    const HeadlessWindow& window = HeadlessGetWindow();
    EXPECT_TRUE(window.exists);
    EXPECT_TRUE(window.visible);
    EXPECT_FALSE(window.maximised);
    EXPECT_EQ(0xCA0000u, window.style);
    EXPECT_EQ(234, window.x);
    EXPECT_EQ(183, window.y);
    EXPECT_EQ(556, window.width);
    EXPECT_EQ(374, window.height);
    EXPECT_EQ("Tallyfield Update", window.title);

    EXPECT_TRUE(app.IsGraphicsOpen());
    EXPECT_EQ(0, gFramework.graphicsOpening);
    EXPECT_EQ(550, app.GetScreenWidth());
    EXPECT_EQ(350, app.GetScreenHeight());
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(gFramework.frameBuffer);
    int nonZero = 0;
    for (int i = 0; i < 350 * 1100; ++i) nonZero += bytes[i] != 0;
    EXPECT_EQ(0, nonZero);

    ASSERT_NE(nullptr, gFramework.fontTable);
    for (int slot = 0; slot < 7; ++slot) EXPECT_NE(nullptr, gFramework.fontTable[slot]) << "slot " << slot;
    // The window asks for a first paint, as a real one does once shown.
    PlatformPumpMessages();
    EXPECT_EQ(1, HeadlessPaintCount());
}

TEST_F(OpenGraphicsTest, AMissingFontIsReportedWithTheWindowAndBufferInPlace) {
    TempFolder empty;
    TestApp app;
    EXPECT_EQ(FontFileNotOpened, OpenInstallerWindow(app, empty.path));
    EXPECT_TRUE(app.IsGraphicsOpen());
    ASSERT_NE(nullptr, gFramework.fontTable);
    for (int slot = 0; slot < 7; ++slot) EXPECT_EQ(nullptr, gFramework.fontTable[slot]) << "slot " << slot;
}

TEST_F(OpenGraphicsTest, NoWindowMeansResultOneAndNothingElseMade) {
    HeadlessSetWindowCreationFails(true);
    TestApp app;
    EXPECT_EQ(1, OpenInstallerWindow(app, CommittedFontFolder()));
    EXPECT_EQ(nullptr, gFramework.window);
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
    EXPECT_EQ(nullptr, gFramework.fontTable);
    EXPECT_EQ(1, gFramework.graphicsOpening);
    EXPECT_FALSE(app.IsGraphicsOpen());
    // Closing what was never opened is harmless.
    app.CloseGraphics();
    EXPECT_FALSE(app.IsGraphicsOpen());
}

TEST_F(OpenGraphicsTest, ASmallWorkAreaShrinksTheWindowAndTheBuffer) {
    HeadlessSetWorkArea(0, 0, 400, 300);  // 401 x 301
    TestApp app;
    ASSERT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder()));
    EXPECT_EQ(395, app.GetScreenWidth());
    EXPECT_EQ(277, app.GetScreenHeight());
    EXPECT_EQ(792, gFramework.pitch);  // 790 raised to a multiple of 4
    EXPECT_EQ(0, HeadlessGetWindow().x);
    EXPECT_EQ(401, HeadlessGetWindow().width);
}

TEST_F(OpenGraphicsTest, AMaximumWidthMakesAResizableWindowWhoseHeightStaysFixed) {
    HeadlessSetSystemMetric(PlatformMetricFrameX, 4);
    HeadlessSetSystemMetric(PlatformMetricFrameY, 5);
    TestApp app;
    ScopedCurrentFolder current(CommittedFontFolder());
    FolderPath fontFolder;
    ASSERT_EQ(0, app.OpenGraphics(550, 350, "t", 0, &fontFolder, -1, -1, 300, 800));
    EXPECT_EQ(0xCF0000u, HeadlessGetWindow().style);
    EXPECT_EQ(558, HeadlessGetWindow().width);  // resizable borders of 4
    EXPECT_EQ(378, HeadlessGetWindow().height);

    // The window procedure answers with the limits it was opened with.
    MinMaxInfo info{};
    EXPECT_EQ(0, MainWindowProc(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&info)));
    EXPECT_EQ(308, info.ptMinTrackSize.x);
    EXPECT_EQ(808, info.ptMaxTrackSize.x);
    // The work area is measured again for each answer.
    HeadlessSetWorkArea(0, 0, 600, 400);
    MainWindowProc(WindowMessageGetMinMaxInfo, 0, reinterpret_cast<intptr_t>(&info));
    EXPECT_EQ(601, gFramework.workAreaWidth);
    EXPECT_EQ(601, info.ptMaxSize.x);
}

TEST_F(OpenGraphicsTest, AMaximisedWindowGetsTheBufferOfItsMaximisedClientArea) {
    TestApp app;
    ScopedCurrentFolder current(CommittedFontFolder());
    FolderPath fontFolder;
    ASSERT_EQ(0, app.OpenGraphics(550, 350, "t", 1, &fontFolder, 200, 2000, 300, 2000));
    EXPECT_TRUE(HeadlessGetWindow().maximised);
    // Maximised to the whole work area (1025 x 741) less resizable borders of 3 and a caption of 18.
    EXPECT_EQ(1019, app.GetScreenWidth());
    EXPECT_EQ(717, app.GetScreenHeight());
    EXPECT_EQ(1019, HeadlessScreenWidth());
    // Without any maximum the maximise flag is ignored.
    app.CloseGraphics();
    ASSERT_EQ(0, app.OpenGraphics(550, 350, "t", 1, &fontFolder, -1, -1, -1, -1));
    EXPECT_FALSE(HeadlessGetWindow().maximised);
    EXPECT_EQ(550, app.GetScreenWidth());
}

TEST_F(OpenGraphicsTest, CloseGraphicsReleasesEverythingAndIsSafeTwice) {
    TestApp app;
    ASSERT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder()));
    app.CloseGraphics();
    EXPECT_FALSE(HeadlessGetWindow().exists);
    EXPECT_EQ(nullptr, gFramework.window);
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
    EXPECT_EQ(nullptr, gFramework.fontTable);
    app.CloseGraphics();
    // The graphics can be opened again afterwards.
    EXPECT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder()));
    EXPECT_TRUE(app.IsGraphicsOpen());
}

TEST_F(OpenGraphicsTest, TitlesReachTheWindowOnlyWhileItExists) {
    TestApp app;
    app.SetWindowTitle("before");
    ASSERT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder(), "Tallyfield Update"));
    app.SetWindowTitle("Actualizaci\xF3n Tallyfield");
    app.CloseGraphics();
    app.SetWindowTitle("after");
    const std::vector<std::string> expected = {"Tallyfield Update", "Actualizaci\xF3n Tallyfield"};
    EXPECT_EQ(expected, HeadlessTitles());
}

TEST_F(FrameBufferTest, PitchIsRaisedToAMultipleOfFourAndTheWholeBufferIsChanged) {
    ASSERT_EQ(0, AllocateFrameBuffer(550, 350));
    EXPECT_EQ(1100, gFramework.pitch);
    EXPECT_EQ(0, gFramework.dirtyRect.x0);
    EXPECT_EQ(549, gFramework.dirtyRect.x1);
    EXPECT_EQ(0, gFramework.dirtyRect.y0);
    EXPECT_EQ(349, gFramework.dirtyRect.y1);
    gFramework.frameBuffer[0] = 0x7FFF;
    ASSERT_EQ(0, AllocateFrameBuffer(551, 350));
    EXPECT_EQ(1104, gFramework.pitch);
    EXPECT_EQ(0, gFramework.frameBuffer[0]);
    EXPECT_EQ(0, gFramework.frameBuffer[1104 / 2 * 349 + 550]);  // last pixel of the last row
    ASSERT_EQ(0, AllocateFrameBuffer(1, 1));
    EXPECT_EQ(4, gFramework.pitch);
    std::free(gFramework.frameBuffer);
    gFramework.frameBuffer = nullptr;
}

TEST_F(FrameBufferTest, ASizeThatCannotBeHadLeavesNoBuffer) {
    ASSERT_EQ(0, AllocateFrameBuffer(20, 20));
    // A WM_SIZE word beyond 32767 arrives as a negative width.
    EXPECT_EQ(2, AllocateFrameBuffer(-25536, 20));
    EXPECT_EQ(nullptr, gFramework.frameBuffer);
}

// Fills the frame buffer with a pattern whose every pixel differs: x + 550 * y, kept to 15 bits.
void FillPattern() {
    for (int y = 0; y < gFramework.screenHeight; ++y) {
        for (int x = 0; x < gFramework.screenWidth; ++x) {
            gFramework.frameBuffer[y * gFramework.pitch / 2 + x] = static_cast<uint16_t>((x + 550 * y) & 0x7FFF);
        }
    }
}

TEST_F(PresentTest, OnlyTheChangedRectangleIsCopiedThenNothingIsChanged) {
    TestApp app;
    ASSERT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder()));
    FillPattern();
    app.PresentFrame();  // the opening marked the whole buffer changed
    EXPECT_EQ((549 + 550 * 349) & 0x7FFF, HeadlessScreenPixel(549, 349));
    std::fill(gFramework.frameBuffer, gFramework.frameBuffer + 550 * 350, uint16_t{0});
    gFramework.dirtyRect = DirtyRect{10, 19, 5, 5};
    app.PresentFrame();

    ASSERT_EQ(2u, HeadlessPresentedRects().size());
    const HeadlessRect& rect = HeadlessPresentedRects()[1];
    EXPECT_EQ(10, rect.x);
    EXPECT_EQ(5, rect.y);
    EXPECT_EQ(10, rect.width);
    EXPECT_EQ(1, rect.height);
    for (int x = 10; x <= 19; ++x) EXPECT_EQ(0, HeadlessScreenPixel(x, 5));
    EXPECT_NE(0, HeadlessScreenPixel(9, 5));
    EXPECT_NE(0, HeadlessScreenPixel(20, 5));
    EXPECT_NE(0, HeadlessScreenPixel(15, 6));
    EXPECT_EQ(-1, gFramework.dirtyRect.x0);
    EXPECT_EQ(-1, gFramework.dirtyRect.x1);
    EXPECT_EQ(-1, gFramework.dirtyRect.y0);
    EXPECT_EQ(-1, gFramework.dirtyRect.y1);

    // Nothing changed: the backend is asked for an empty rectangle (its once-per-frame pacing
    // point) and nothing is copied.
    app.PresentFrame();
    ASSERT_EQ(3u, HeadlessPresentedRects().size());
    EXPECT_EQ(0, HeadlessPresentedRects()[2].width);
    EXPECT_NE(0, HeadlessScreenPixel(15, 6));
}

TEST_F(PresentTest, ARectangleWithAnyMinusOneIsLeftAsItIs) {
    TestApp app;
    ASSERT_EQ(0, OpenInstallerWindow(app, CommittedFontFolder()));
    app.PresentFrame();
    FillPattern();
    gFramework.dirtyRect = DirtyRect{0, 549, -1, 349};
    app.PresentFrame();
    EXPECT_EQ(0, HeadlessScreenPixel(100, 100));
    EXPECT_EQ(0, gFramework.dirtyRect.x0);
    EXPECT_EQ(549, gFramework.dirtyRect.x1);
    EXPECT_EQ(-1, gFramework.dirtyRect.y0);
    EXPECT_EQ(349, gFramework.dirtyRect.y1);
}

}  // namespace
