// Buttons: creation, the drawn looks, and when a change of the left mouse button is a click.
//
// The caption font is the fixture's solid test font (10 rows, 5-pixel blocks, 3 pixels apart), so
// a caption's pixels can be found exactly: a one-letter caption on a Button of width w and
// height h starts at column x + (w - 5) / 2 and row y + (h - 10) / 2 + 1.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "framework/mouse.h"
#include "gfx/button.h"
#include "tests/input/input_test_support.h"

namespace {

constexpr Rgb555 kFace = 0x6739;
constexpr Rgb555 kLight = 0x7fff;
constexpr Rgb555 kDark = 0x2108;
constexpr Rgb555 kCaption = 0x001f;
constexpr Rgb555 kGrey16 = 16 << 10 | 16 << 5 | 16;
constexpr Rgb555 kBackground = 0x0c63;  // a colour no Button uses

class ButtonTest : public ScreenTest {
protected:
    void SetUp() override {
        ScreenTest::SetUp();
        Fill(kBackground);
        mouse_ = std::make_unique<MOUSE>();
    }
    void TearDown() override {
        mouse_.reset();
        ScreenTest::TearDown();
    }

    // The pointer and the left button as the window procedure records them.
    void Mouse(int x, int y, bool down) {
        gFramework.mouseX = static_cast<int16_t>(x);
        gFramework.mouseY = static_cast<int16_t>(y);
        gFramework.leftButton = down ? 1 : 0;
    }
    // Press and release at one point, updating in between, as two frames of the wizard do.
    bool ClickAt(Button* button, int x, int y) {
        Mouse(x, y, true);
        const bool onPress = UpdateButton(button, mouse_.get());
        Mouse(x, y, false);
        const bool onRelease = UpdateButton(button, mouse_.get());
        EXPECT_FALSE(onPress);
        return onRelease;
    }

    std::unique_ptr<MOUSE> mouse_;
};

using ButtonPtr = std::unique_ptr<Button, void (*)(Button*)>;
ButtonPtr Make(int x, int y, int width, int height, const char* label, int32_t action) {
    return ButtonPtr(CreateButton(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(width),
                                  static_cast<int16_t>(height), label, action, 0, kCaption),
                     DeleteButton);
}

}  // namespace

TEST(ButtonCreation, ALongLabelIsCutTo199CharactersAndNullIsEmpty) {
    const std::string longLabel(500, 'x');
    ButtonPtr cut(CreateButton(0, 0, 1, 1, longLabel.c_str(), 1, 0, 0), DeleteButton);
    ASSERT_NE(cut, nullptr);
    EXPECT_EQ(std::strlen(cut->label), 199u);
    EXPECT_EQ(cut->label[199], 0);

    const std::string exact(199, 'y');
    ButtonPtr whole(CreateButton(0, 0, 1, 1, exact.c_str(), 1, 0, 0), DeleteButton);
    EXPECT_EQ(std::string(whole->label), exact);

    ButtonPtr none(CreateButton(0, 0, 1, 1, nullptr, 1, 0, 0), DeleteButton);
    EXPECT_STREQ(none->label, "");
}

TEST_F(ButtonTest, TheBoxSpansXToXPlusWidthButReactsOnlyStrictlyInside) {
    ButtonPtr button = Make(100, 50, 80, 20, "Go", 1);
    DrawButton(button.get());
    EXPECT_EQ(gFramework.dirtyRect.x0, 100);
    EXPECT_EQ(gFramework.dirtyRect.x1, 180);
    EXPECT_EQ(gFramework.dirtyRect.y0, 50);
    EXPECT_EQ(gFramework.dirtyRect.y1, 70);
    EXPECT_EQ(Pixel(99, 60), kBackground);
    EXPECT_EQ(Pixel(181, 60), kBackground);
    EXPECT_EQ(Pixel(140, 49), kBackground);
    EXPECT_EQ(Pixel(140, 71), kBackground);

    for (int x = 98; x <= 182; ++x) {
        const bool inside = x >= 101 && x <= 179;
        EXPECT_EQ(ClickAt(button.get(), x, 60), inside) << "column " << x;
    }
    for (int y = 48; y <= 72; ++y) {
        const bool inside = y >= 51 && y <= 69;
        EXPECT_EQ(ClickAt(button.get(), 140, y), inside) << "row " << y;
    }
}

TEST_F(ButtonTest, FollowsTheStateTable) {
    ButtonPtr button = Make(100, 50, 80, 20, "Go", 1);
    MOUSE* mouse = mouse_.get();

    // Press inside: sunk, no click.
    Mouse(140, 60, true);
    EXPECT_FALSE(UpdateButton(button.get(), mouse));
    EXPECT_TRUE(button->pressed);
    // Moving out while held changes nothing: still sunk.
    Mouse(10, 10, true);
    EXPECT_FALSE(UpdateButton(button.get(), mouse));
    EXPECT_TRUE(button->pressed);
    // Released outside: raised, no click.
    Mouse(10, 10, false);
    EXPECT_FALSE(UpdateButton(button.get(), mouse));
    EXPECT_FALSE(button->pressed);

    // Pressed outside, released inside: no click either.
    Mouse(10, 10, true);
    EXPECT_FALSE(UpdateButton(button.get(), mouse));
    Mouse(140, 60, false);
    EXPECT_FALSE(UpdateButton(button.get(), mouse));
    EXPECT_FALSE(button->pressed);

    // Idle, released anywhere (a release whose press this Button never saw): nothing.
    button->lastMouseDown = true;
    EXPECT_FALSE(UpdateButton(button.get(), mouse));
    EXPECT_FALSE(button->pressed);

    // The real thing.
    EXPECT_TRUE(ClickAt(button.get(), 140, 60));
    EXPECT_FALSE(button->pressed);
}

TEST_F(ButtonTest, TwoUpdatesWithoutAChangeReturnFalseAndDoNotRedraw) {
    ButtonPtr button = Make(100, 50, 80, 20, "Go", 1);
    Mouse(140, 60, true);
    EXPECT_FALSE(UpdateButton(button.get(), mouse_.get()));
    EXPECT_FALSE(NothingChanged());
    ForgetChanges();
    Fill(kBackground);
    EXPECT_FALSE(UpdateButton(button.get(), mouse_.get()));
    Mouse(150, 65, true);  // the pointer alone moves
    EXPECT_FALSE(UpdateButton(button.get(), mouse_.get()));
    EXPECT_TRUE(NothingChanged());
    EXPECT_EQ(Pixel(100, 50), kBackground);
}

TEST_F(ButtonTest, AButtonCreatedWhileTheMouseButtonIsHeldSeesAPress) {
    Mouse(140, 60, true);
    ButtonPtr inside = Make(100, 50, 80, 20, "Go", 1);
    ButtonPtr elsewhere = Make(0, 0, 50, 20, "No", 1);
    EXPECT_FALSE(UpdateButton(inside.get(), mouse_.get()));
    EXPECT_FALSE(UpdateButton(elsewhere.get(), mouse_.get()));
    EXPECT_TRUE(inside->pressed);
    EXPECT_FALSE(elsewhere->pressed);
    Mouse(140, 60, false);
    EXPECT_TRUE(UpdateButton(inside.get(), mouse_.get()));
    EXPECT_FALSE(UpdateButton(elsewhere.get(), mouse_.get()));
}

TEST_F(ButtonTest, ForceClickReportsOnceWithoutTheMouseOrDrawing) {
    ButtonPtr button = Make(100, 50, 80, 20, "Next >", 2);
    button->forceClick = true;
    EXPECT_TRUE(UpdateButton(button.get(), nullptr));
    EXPECT_FALSE(button->forceClick);
    EXPECT_FALSE(button->pressed);
    EXPECT_TRUE(NothingChanged());
    EXPECT_FALSE(UpdateButton(button.get(), mouse_.get()));

    // In the middle of a press, too, and the press goes on.
    Mouse(140, 60, true);
    EXPECT_FALSE(UpdateButton(button.get(), mouse_.get()));
    button->forceClick = true;
    EXPECT_TRUE(UpdateButton(button.get(), mouse_.get()));
    EXPECT_TRUE(button->pressed);
}

TEST_F(ButtonTest, ButtonsThatCannotBeClickedNeverReportAndKeepForceClick) {
    const struct {
        const char* label;
        int32_t action;
    } rows[] = {{"", 1}, {"Panel", ActionInert}, {"Text", ActionLabel}, {"c:\\tlf", ActionTextField},
                // action is compared as a signed 16-bit value: 0x10000 is inert, 0xffff a label
                {"Wide", 0x10000}, {"Wrapped", 0xffff}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.action);
        ButtonPtr button = Make(100, 50, 80, 20, row.label, row.action);
        button->forceClick = true;
        EXPECT_FALSE(UpdateButton(button.get(), mouse_.get()));
        EXPECT_TRUE(button->forceClick);
        EXPECT_FALSE(ClickAt(button.get(), 140, 60));
        EXPECT_FALSE(button->pressed);
    }
    EXPECT_FALSE(UpdateButton(nullptr, mouse_.get()));
    ButtonPtr noMouse = Make(100, 50, 80, 20, "Go", 1);
    Mouse(140, 60, true);
    EXPECT_FALSE(UpdateButton(noMouse.get(), nullptr));
    EXPECT_FALSE(noMouse->pressed);
}

TEST_F(ButtonTest, EachLookDrawsItsBevelAndCaption) {
    // A one-letter caption "I" on a Button at (100, 50), 80 x 20 starts at (137, 56) raised and
    // two pixels down and right when sunk. The corners show the bevel's order (bottom and right
    // are drawn last); an inert caption is grey 16 over a white copy one pixel down and right.
    const struct {
        int32_t action;
        bool pressed;
        int x, y;
        Rgb555 colour;
    } rows[] = {
        {1, false, 100, 50, kLight},    {1, false, 100, 60, kLight},    {1, false, 180, 50, kDark},
        {1, false, 100, 70, kDark},     {1, false, 101, 51, kLight},    {1, false, 179, 51, kDark},
        {1, false, 101, 69, kDark},     {1, false, 102, 52, kFace},     {1, false, 137, 56, kCaption},
        {1, false, 141, 65, kCaption},  {1, false, 136, 56, kFace},     {1, false, 142, 56, kFace},
        {1, false, 137, 55, kFace},     {1, false, 137, 66, kFace},     {1, true, 100, 50, kDark},
        {1, true, 180, 50, kLight},     {1, true, 100, 70, kLight},     {1, true, 101, 51, kDark},
        {1, true, 179, 69, kLight},     {1, true, 139, 58, kCaption},   {1, true, 143, 67, kCaption},
        {1, true, 138, 58, kFace},      {1, true, 139, 57, kFace},      {ActionInert, false, 137, 56, kGrey16},
        {ActionInert, false, 141, 65, kGrey16}, {ActionInert, false, 142, 66, kLight},
        {ActionInert, false, 138, 66, kLight},  {ActionInert, false, 142, 56, kFace},
        {ActionInert, false, 137, 66, kFace},   {ActionTextField, false, 100, 50, kLight},
        {ActionTextField, false, 137, 56, kCaption},
    };
    for (const auto& row : rows) {
        Fill(kBackground);
        ButtonPtr button = Make(100, 50, 80, 20, "I", row.action);
        button->pressed = row.pressed;
        DrawButton(button.get());
        EXPECT_EQ(Pixel(row.x, row.y), row.colour) << row.action << (row.pressed ? " sunk at " : " at ") << row.x << "," << row.y;
    }
}

TEST_F(ButtonTest, ALabelIsItsCaptionAtItsCornerWithoutABox) {
    ButtonPtr label = Make(10, 100, 0, 0, "II", ActionLabel);
    DrawButton(label.get());
    EXPECT_EQ(Pixel(10, 100), kCaption);
    EXPECT_EQ(Pixel(15, 100), kBackground);  // the 3-pixel gap between the letters
    EXPECT_EQ(Pixel(18, 100), kCaption);
    EXPECT_EQ(Pixel(9, 100), kBackground);
    EXPECT_EQ(gFramework.dirtyRect.y1, 109);
    DrawButton(nullptr);
}

TEST_F(ButtonTest, ACaptionWiderThanItsButtonIsStillCentred) {
    // "IIIIIIIIII" is 77 wide on a Button 41 wide at x 100: cx = 100 + (41 - 77) / 2 = 82.
    ButtonPtr button = Make(100, 50, 41, 20, "IIIIIIIIII", 1);
    DrawButton(button.get());
    EXPECT_EQ(Pixel(82, 56), kCaption);
    EXPECT_EQ(Pixel(81, 56), kBackground);
    EXPECT_EQ(Pixel(158, 56), kCaption);
    EXPECT_EQ(Pixel(159, 56), kBackground);
}
