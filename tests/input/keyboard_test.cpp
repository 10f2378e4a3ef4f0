// The KEYBOARD: the last key and character, read once, the KeyClass table, and the
// single-instance rule.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "framework/display.h"
#include "framework/keyboard.h"
#include "platform/headless/headless.h"
#include "tests/input/input_test_support.h"

namespace {

using KeyboardTest = InputTest;

// A key press as Windows delivers it to the window procedure.
void PressKey(int virtualKey, int character) {
    MainWindowProc(WindowMessageKeyDown, static_cast<uintptr_t>(virtualKey), 1);
    if (character != 0) MainWindowProc(WindowMessageChar, static_cast<uintptr_t>(character), 1);
    MainWindowProc(WindowMessageKeyUp, static_cast<uintptr_t>(virtualKey), 1);
}

}  // namespace

TEST_F(KeyboardTest, ConstructionRegistersAndDestructionWithdraws) {
    {
        KEYBOARD keyboard;
        EXPECT_EQ(gFramework.registeredKeyboard, &keyboard);
    }
    EXPECT_EQ(gFramework.registeredKeyboard, nullptr);
}

TEST_F(KeyboardTest, ReadKeyHandsOutTheKeyOnceAndClearsIt) {
    KEYBOARD keyboard;
    uint8_t character = 0;
    int32_t keyCode = 0;

    PressKey('A', 'a');
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(character, 97);
    EXPECT_EQ(keyCode, 65);
    EXPECT_FALSE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(character, 0);
    EXPECT_EQ(keyCode, 0);

    PressKey(13, 13);
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(character, 13);
    EXPECT_EQ(KEYBOARD::ClassifyKey(keyCode), KeyEnter);

    // A key that types nothing still counts.
    PressKey(37, 0);
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(character, 0);
    EXPECT_EQ(keyCode, 37);
    EXPECT_EQ(KEYBOARD::ClassifyKey(keyCode), KeyLeft);

    // A character alone (as an input method may send) counts as well.
    MainWindowProc(WindowMessageChar, 0xE9, 1);
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(character, 0xE9);
    EXPECT_EQ(keyCode, 0);
}

TEST_F(KeyboardTest, OnlyTheLastKeyAndCharacterSurvive) {
    KEYBOARD keyboard;
    PressKey('A', 'a');
    PressKey('B', 'b');
    PressKey(46, 0);  // Delete types nothing: the last character stays 'b'
    uint8_t character = 0;
    int32_t keyCode = 0;
    EXPECT_TRUE(keyboard.ReadKey(character, keyCode));
    EXPECT_EQ(keyCode, 46);
    EXPECT_EQ(character, 'b');
}

TEST_F(KeyboardTest, KeysAreRecordedWithoutAKeyboardButNotReleasesOrSystemKeys) {
    PressKey('X', 'x');
    EXPECT_EQ(gFramework.pendingKeyCode, 'X');
    EXPECT_EQ(gFramework.pendingChar, 'x');
    KEYBOARD keyboard;
    keyboard.ClearKey();
    MainWindowProc(WindowMessageKeyUp, 'A', 1);
    MainWindowProc(0x104, 121, 1);  // WM_SYSKEYDOWN, F10
    MainWindowProc(0x106, 'f', 1);  // WM_SYSCHAR, Alt+F
    uint8_t character = 1;
    int32_t keyCode = 1;
    EXPECT_FALSE(keyboard.ReadKey(character, keyCode));
}

TEST(KeyClassTable, ClassifyKeySortsEveryCodeByTheTable) {
    const struct {
        int32_t code;
        KeyClass keyClass;
    } listed[] = {{37, KeyLeft},   {39, KeyRight},  {8, KeyBackspace}, {46, KeyDelete}, {27, KeyEscape},
                  {13, KeyEnter},  {9, KeyTab},     {45, KeyInsert},   {107, KeyPlus},  {109, KeyMinus},
                  {112, KeyF1},    {113, KeyF2},    {114, KeyF3},      {115, KeyF4},    {116, KeyF5},
                  {117, KeyF6},    {118, KeyF7},    {119, KeyF8},      {120, KeyF9}};
    // Every code around the table, low-byte aliases of listed codes among them, is KeyNone.
    for (int32_t code = -300; code < 600; ++code) {
        KeyClass expected = KeyNone;
        for (const auto& row : listed) {
            if (row.code == code) expected = row.keyClass;
        }
        EXPECT_EQ(KEYBOARD::ClassifyKey(code), expected) << code;
    }
    EXPECT_EQ(KEYBOARD::ClassifyKey(INT32_MIN), KeyNone);
    EXPECT_EQ(KEYBOARD::ClassifyKey(INT32_MAX), KeyNone);
}

#ifndef _WIN32
TEST_F(KeyboardTest, ASecondKeyboardShowsAnErrorAndEndsTheProcessWithMinusOne) {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    KEYBOARD first;
    EXPECT_EXIT(
        {
            std::atexit(PrintRecordedMessageBoxes);
            KEYBOARD second;
        },
        testing::ExitedWithCode(255), "\\[Error\\] Second KEYBOARD class declared\\.");
    EXPECT_EQ(gFramework.registeredKeyboard, &first);
}
#endif
