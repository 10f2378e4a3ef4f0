// keyboard.h: the framework's key device.
//
// KEYBOARD is a single-instance object through which the application polls, once per frame, the
// last key pressed and the last character typed. It holds nothing itself: the window procedure
// (framework/display.cpp) writes gFramework.pendingKeyCode on WM_KEYDOWN and pendingChar on
// WM_CHAR, also while no KEYBOARD exists, and clears both after each repaint. There is no queue:
// of several keys between two reads only the last key code and the last character survive.
// Key releases and system keys (held with Alt, and F10) never reach these fields.
#pragma once

#include <cstdint>

// The keys the framework gives a meaning, as ClassifyKey sorts virtual-key codes.
enum KeyClass : int32_t {
    KeyNone = 0,
    KeyLeft = 1,       // VK_LEFT 37
    KeyRight = 2,      // VK_RIGHT 39
    KeyBackspace = 3,  // VK_BACK 8
    KeyDelete = 4,     // VK_DELETE 46
    KeyEscape = 5,     // VK_ESCAPE 27
    KeyEnter = 6,      // VK_RETURN 13
    KeyTab = 7,        // VK_TAB 9
    KeyInsert = 8,     // VK_INSERT 45
    KeyPlus = 9,       // VK_ADD 107, the keypad's plus
    KeyMinus = 10,     // VK_SUBTRACT 109, the keypad's minus
    KeyF1 = 11,        // VK_F1 112 ... KeyF9 = VK_F9 120
    KeyF2 = 12,
    KeyF3 = 13,
    KeyF4 = 14,
    KeyF5 = 15,
    KeyF6 = 16,
    KeyF7 = 17,
    KeyF8 = 18,
    KeyF9 = 19,
};

class KEYBOARD {
public:
    // Registers the single KEYBOARD; a second one ends the process with -1.
    KEYBOARD();
    // Withdraws the registration.
    ~KEYBOARD();
    KEYBOARD(const KEYBOARD&) = delete;
    KEYBOARD& operator=(const KEYBOARD&) = delete;

    // Hands out the last character (0 for none) and the last virtual-key code (0 for none) and
    // clears both; true when either is non-zero. The wizard calls it once per frame.
    bool ReadKey(uint8_t& character, int32_t& keyCode);
    // Forgets the pending key and character. Called by the window procedure after each repaint.
    void ClearKey();
    // Sorts a virtual-key code; every code not in the table, negative codes and codes above 255
    // included, is KeyNone. Reads no state.
    static KeyClass ClassifyKey(int32_t keyCode);
};
