// The headless backend's promises that the wizard tests build on without checking them
// themselves: frames of scripted messages, the paint after showing, keys as Windows sends them,
// and the PNG output the page pictures are made with.
#include <gtest/gtest.h>

#include <cstdio>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "platform/headless/headless.h"
#include "tests/display/display_test_support.h"
#include "tests/support/test_files.h"

#if !defined(_WIN32) && __has_include(<png.h>)
#include <png.h>
#define TLF_TEST_READS_PNG 1
#endif

namespace {

// An application message no one handles, so it shows up among the default-handled ones.
const uint32_t kMarker = 0x0400;  // WM_USER

class HeadlessTest : public DisplayTest {
protected:
    void OpenWindow() {
        ScopedCurrentFolder current(CommittedFontFolder());
        FolderPath fonts;
        ASSERT_EQ(0, app.OpenGraphics(550, 350, "t", 0, &fonts, -1, -1, -1, -1));
    }
    // The wParams of the markers delivered so far.
    std::vector<uintptr_t> DeliveredMarkers() {
        std::vector<uintptr_t> markers;
        for (const HeadlessMessage& m : HeadlessDefaultHandledMessages()) {
            if (m.message == kMarker) markers.push_back(m.wParam);
        }
        return markers;
    }
    TestApp app;
};

TEST_F(HeadlessTest, EachPumpDeliversOneFrameAndTheOpenTailWhenNoMarkIsLeft) {
    OpenWindow();
    HeadlessPostMessage(kMarker, 1, 0);
    HeadlessPostMessage(kMarker, 2, 0);
    HeadlessEndFrame();
    HeadlessEndFrame();  // an empty frame
    HeadlessPostMessage(kMarker, 3, 0);
    HeadlessPostMessage(kMarker, 4, 0);
    EXPECT_EQ(4, HeadlessQueuedMessageCount());

    PlatformPumpMessages();
    EXPECT_EQ((std::vector<uintptr_t>{1, 2}), DeliveredMarkers());
    PlatformPumpMessages();
    EXPECT_EQ((std::vector<uintptr_t>{1, 2}), DeliveredMarkers());
    PlatformPumpMessages();
    EXPECT_EQ((std::vector<uintptr_t>{1, 2, 3, 4}), DeliveredMarkers());
    EXPECT_EQ(0, HeadlessQueuedMessageCount());
    EXPECT_EQ(3, HeadlessPumpCount());
}

TEST_F(HeadlessTest, TheShownWindowIsPaintedOnceAfterTheFirstFramesMessages) {
    OpenWindow();
    gFramework.running = 1;
    int keyAtRedraw = -1;
    app.onRedraw = [&] { keyAtRedraw = gFramework.pendingKeyCode; };
    HeadlessPostMessage(WindowMessageKeyDown, 'Q', 1);
    PlatformPumpMessages();
    EXPECT_EQ(1, HeadlessPaintCount());
    EXPECT_EQ(1, app.redrawCount);
    EXPECT_EQ('Q', keyAtRedraw);  // input of the frame first, then the paint
    PlatformPumpMessages();
    EXPECT_EQ(1, HeadlessPaintCount());
    PlatformInvalidateClient();
    PlatformPumpMessages();
    EXPECT_EQ(2, HeadlessPaintCount());
}

TEST_F(HeadlessTest, AKeyPressGivesTheKeyThenItsCharacterAsWindowsDoes) {
    OpenWindow();
    const struct {
        int key;
        int character;
    } cases[] = {
        {'A', 'a'}, {HeadlessKeyEnter, 13}, {HeadlessKeyEscape, 27}, {HeadlessKeyBackspace, 8},
        {0xBD, '-'}, {HeadlessKeyLeft, 0},
    };
    for (const auto& c : cases) {
        gFramework.pendingChar = 0;
        HeadlessPostKeyPress(c.key);
        PlatformPumpMessages();
        EXPECT_EQ(c.key, gFramework.pendingKeyCode);
        EXPECT_EQ(c.character, gFramework.pendingChar) << "key " << c.key;
        EXPECT_EQ(WindowMessageKeyUp, HeadlessDefaultHandledMessages().back().message);
    }
}

#ifdef TLF_TEST_READS_PNG
// Reads an 8-bit RGB PNG back into rows of bytes.
bool ReadRgbPng(const std::string& path, int* width, int* height, std::vector<unsigned char>* rgb) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) return false;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_read_info(png, info);
    *width = static_cast<int>(png_get_image_width(png, info));
    *height = static_cast<int>(png_get_image_height(png, info));
    const bool rgb8 = png_get_color_type(png, info) == PNG_COLOR_TYPE_RGB && png_get_bit_depth(png, info) == 8;
    rgb->assign(static_cast<size_t>(*width) * *height * 3, 0);
    for (int y = 0; y < *height; ++y) png_read_row(png, rgb->data() + static_cast<size_t>(y) * *width * 3, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    std::fclose(file);
    return rgb8;
}

TEST(HeadlessPng, ChannelsAreWidenedByBitReplicationAndThePitchIsHonoured) {
    // A colour per channel so that a swap shows, a mid grey, and white; rows padded to 8 bytes.
    const uint16_t pixels[2][4] = {{0x7C00, 0x03E0, 0x001F, 0xBEEF}, {0x4210, 0x7FFF, 0x0000, 0xBEEF}};
    TempFolder folder;
    const std::string path = folder.Join("image.png");
    ASSERT_TRUE(HeadlessCanWritePng());
    ASSERT_TRUE(WriteRgb555Png(path.c_str(), &pixels[0][0], 8, 3, 2));
    int width = 0, height = 0;
    std::vector<unsigned char> rgb;
    ASSERT_TRUE(ReadRgbPng(path, &width, &height, &rgb));
    ASSERT_EQ(3, width);
    ASSERT_EQ(2, height);
    const std::vector<unsigned char> expected = {255, 0, 0, 0, 255, 0, 0, 0, 255,
                                                 132, 132, 132, 255, 255, 255, 0, 0, 0};
    EXPECT_EQ(expected, rgb);
}

TEST(HeadlessPng, AnUnwritablePathFailsAndLeavesNoFile) {
    const uint16_t pixel = 0;
    TempFolder folder;
    EXPECT_FALSE(WriteRgb555Png(folder.Join("missing/image.png").c_str(), &pixel, 2, 1, 1));
    EXPECT_TRUE(ListFolder(folder.path).empty());
}
#else
TEST(HeadlessPng, WithoutLibpngTheWriterReportsFailure) {
    const uint16_t pixel = 0;
    TempFolder folder;
    EXPECT_FALSE(HeadlessCanWritePng());
    EXPECT_FALSE(WriteRgb555Png(folder.Join("image.png").c_str(), &pixel, 2, 1, 1));
    EXPECT_TRUE(ListFolder(folder.path).empty());
}
#endif

}  // namespace
