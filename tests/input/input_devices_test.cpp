// input_devices_test.cpp: the KEYBOARD and the MOUSE as the wizard reads them, the Buttons' state
// table and reach, and AddWrappedText, on a font of known metrics: every glyph but the space a
// solid 5 x 10 block, the space 4 wide, neighbours 3 apart, so n letters are 8n - 3 wide.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "framework/display.h"
#include "framework/framework_state.h"
#include "framework/keyboard.h"
#include "framework/mouse.h"
#include "gfx/button.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_cursor.h"
#include "platform/platform_display.h"
#include "tools/wizard_driver/framework_reset.h"

namespace {

class DevicesTest : public ::testing::Test {
protected:
    DevicesTest() {
        ResetFrameworkAndBackend();
        pixels.assign(320 * 200, 0);
        gFramework.frameBuffer = pixels.data();
        gFramework.pitch = 640;
        gFramework.screenWidth = 320;
        gFramework.screenHeight = 200;
        ink.assign(30, 0xFF);
        font.height = 10;
        for (int code = FirstGlyphCode; code < 256; ++code) font.glyphs[code] = Glyph{5, 3, 0, 0, ink.data()};
        font.glyphs[uint8_t{' '}] = Glyph{4, 0, 0, 0, nullptr};
        table[ButtonFontIndex] = &font;
        gFramework.fontTable = table;
    }
    ~DevicesTest() override {
        gFramework.fontTable = nullptr;
        gFramework.frameBuffer = nullptr;
        ResetFrameworkAndBackend();
    }
    void Mouse(int x, int y, bool down) {
        gFramework.mouseX = static_cast<int16_t>(x);
        gFramework.mouseY = static_cast<int16_t>(y);
        gFramework.leftButton = down;
    }

    std::vector<uint16_t> pixels;
    std::vector<uint8_t> ink;
    Font font{};
    Font* table[FontSlotCount] = {};
};

// Keys with and without a character, read once, are driven by the folder field's end-to-end test.
TEST_F(DevicesTest, TheKeyboardTakesCharactersAndKeysApartAndClassifiesByItsTable) {
    KEYBOARD keyboard;
    uint8_t character = 0;
    int32_t keyCode = -1;
    MainWindowProc(WindowMessageChar, 0x1E9, 1);  // as an input method sends it, without a key
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(character * 1000 + keyCode, 0xE9 * 1000);
    MainWindowProc(WindowMessageChar, 'a', 1);
    MainWindowProc(WindowMessageKeyDown, 46, 1);  // Delete types nothing: the character before stays
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode) && character == 'a' && keyCode == 46);
    const std::pair<int32_t, KeyClass> listed[] = {
        {37, KeyLeft},  {39, KeyRight}, {8, KeyBackspace}, {46, KeyDelete}, {27, KeyEscape}, {13, KeyEnter},
        {9, KeyTab},    {45, KeyInsert}, {107, KeyPlus},   {109, KeyMinus}, {112, KeyF1},    {120, KeyF9},
        {36, KeyNone},  {40, KeyNone},  {121, KeyNone},   {13 + 256, KeyNone}, {-243, KeyNone}, {INT32_MIN, KeyNone}};
    for (const auto& row : listed) EXPECT_EQ(KEYBOARD::ClassifyKey(row.first), row.second) << row.first;
}

TEST_F(DevicesTest, TheMouseShowsItsOwnCursorsOrTheSystemsAndCountsWheelNotches) {
    const PlatformCursor desktop = HeadlessDesktopCursor();
    {
        MOUSE mouse;
        EXPECT_EQ(HeadlessCursorNumber(gFramework.busyCursor) * 1000 + HeadlessCursorNumber(gFramework.handCursor), 102103);
        EXPECT_EQ(HeadlessCurrentCursor(), gFramework.busyCursor);
        mouse.SetCursorShape(CursorHand);
        PlatformSetCursor(desktop);  // the system changed it, over the window's edge
        MainWindowProc(WindowMessageMouseMove, 0, PackPointParam(12, 34));
        EXPECT_EQ(HeadlessCursorNumber(HeadlessCurrentCursor()), 103);
        for (const auto& row : std::vector<std::pair<int32_t, int32_t>>{{240, -2}, {-120, 1}, {119, 0}, {121, -1}, {-359, 2}}) {
            gFramework.wheelDelta = row.first;
            EXPECT_EQ(mouse.GetWheelNotches(), row.second) << row.first;
        }
    }
    EXPECT_EQ(HeadlessCurrentCursor(), desktop);
    EXPECT_EQ(HeadlessLiveCursors() + HeadlessCursorCounters().badDestroys, 0);
    HeadlessSetCursorResourcesAvailable(false);
    MOUSE mouse;
    EXPECT_EQ(HeadlessCursorNumber(gFramework.busyCursor), 32514);
}

TEST_F(DevicesTest, AButtonIsClickedByAPressAndAReleaseStrictlyInside) {
    MOUSE mouse;
    Button* b = CreateButton(100, 50, 80, 20, "Go", 1, 0, ColourBlue);
    // Each step: pointer, left button held, then UpdateButton's answer and the sunk look.
    const struct {
        int x, y;
        bool down, clicked, pressed;
    } steps[] = {
        {140, 60, true, false, true},   {10, 10, true, false, true},   {10, 10, false, false, false},  // out while held
        {10, 10, true, false, false},   {140, 60, false, false, false},                                 // pressed outside
        {140, 60, true, false, true},   {150, 65, true, false, true},  {150, 65, false, true, false},  // a click
        {101, 51, true, false, true},   {179, 69, false, true, false},                                  // just inside
        {100, 60, true, false, false},  {100, 60, false, false, false},                                 // on the bevel
        {140, 70, true, false, false},  {140, 70, false, false, false},
    };
    for (const auto& step : steps) {
        Mouse(step.x, step.y, step.down);
        EXPECT_EQ(UpdateButton(b, &mouse), step.clicked) << step.x << "," << step.y << " " << step.down;
        EXPECT_EQ(b->pressed, step.pressed) << step.x << "," << step.y << " " << step.down;
    }
    b->forceClick = true;
    EXPECT_TRUE(UpdateButton(b, nullptr));
    EXPECT_FALSE(b->forceClick);
    // Buttons that cannot be clicked: no label, inert, label, text field, actions as 16 bits.
    const std::pair<const char*, int32_t> never[] = {{"", 1}, {"P", ActionInert}, {"T", ActionLabel},
                                                     {"F", ActionTextField}, {"W", 0x10000}, {"L", 0xffff}};
    for (const auto& row : never) {
        std::snprintf(b->label, sizeof b->label, "%s", row.first);
        b->action = row.second;
        b->forceClick = true;
        Mouse(140, 60, true);
        EXPECT_FALSE(UpdateButton(b, &mouse)) << row.second;
        Mouse(140, 60, false);
        EXPECT_FALSE(UpdateButton(b, &mouse)) << row.second;
        EXPECT_TRUE(b->forceClick);
    }
    DeleteButton(b);
    const std::string longLabel(500, 'x');
    for (size_t length : {199u, 200u, 500u}) {
        Button* cut = CreateButton(0, 0, 1, 1, longLabel.substr(0, length).c_str(), 1, 0, 0);
        EXPECT_EQ(std::strlen(cut->label), 199u) << length;
        DeleteButton(cut);
    }
}

std::vector<std::string> Wrap(Button** slots, int slotCount, int16_t& count, int16_t& y, int maxWidth, const std::string& text) {
    AddWrappedText(slots, slotCount, count, y, 20, static_cast<int16_t>(maxWidth), text.c_str());
    std::vector<std::string> lines;
    for (int i = 0; i < 10; ++i) {
        if (slots[i] != nullptr) lines.push_back(slots[i]->label);
        DeleteButton(slots[i]);
        slots[i] = nullptr;
    }
    return lines;
}

TEST_F(DevicesTest, ParagraphsWrapAtSpacesWithinTheWidthAndTheSlots) {
    using Lines = std::vector<std::string>;
    const struct {
        std::string text;
        int width, firstSlot, slotCount;
        Lines lines;
        int16_t count, y;
    } rows[] = {
        {"abc def ghi", 64, 0, 10, {"abc def", "ghi"}, 2, 134},  // "abc def g" is 67
        {"abc def", 52, 5, 10, {"abc", "def"}, 7, 134},          // a width equal to the limit is full
        {"abc   def ghi jkl", 64, 0, 10, {"abc  ", "def ghi", "jkl"}, 3, 151},
        {"aaa bbb ccc ddd eee fff", 30, 5, 8, {"aaa", "bbb", "ccc"}, 8, 151},
        {"more", 30, 8, 8, {}, 8, 100},
        {"abcdefghijkl mn", 40, 0, 10, {"abcde", "fghij", "kl mn"}, 3, 151},
        {"abc", 3, 0, 10, {"a", "b", "c"}, 3, 151},
        {"", 200, 0, 10, {}, 0, 100},
        {std::string(300, 'w'), 32767, 0, 10, {std::string(199, 'w'), std::string(101, 'w')}, 2, 134},
    };
    Button* slots[10] = {};
    for (const auto& row : rows) {
        int16_t count = static_cast<int16_t>(row.firstSlot), y = 100;
        EXPECT_EQ(Wrap(slots, row.slotCount, count, y, row.width, row.text), row.lines) << row.text;
        EXPECT_EQ(count, row.count) << row.text;
        EXPECT_EQ(y, row.y) << row.text;
    }
}

}  // namespace
