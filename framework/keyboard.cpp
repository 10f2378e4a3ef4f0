// keyboard.cpp: the KEYBOARD device: reads and clears the key fields of gFramework, and the
// fixed table that sorts virtual-key codes into KeyClass values.
#include "framework/keyboard.h"

#include "framework/framework_state.h"
#include "framework/qbio.h"

KEYBOARD::KEYBOARD() {
    RegisterSingleInstance(gFramework.registeredKeyboard, this, "Second KEYBOARD class declared.");
}

KEYBOARD::~KEYBOARD() { UnregisterSingleInstance(gFramework.registeredKeyboard, this); }

bool KEYBOARD::ReadKey(uint8_t& character, int32_t& keyCode) {
    character = gFramework.pendingChar;
    keyCode = gFramework.pendingKeyCode;
    ClearKey();
    return character != 0 || keyCode != 0;
}

void KEYBOARD::ClearKey() {
    gFramework.pendingChar = 0;
    gFramework.pendingKeyCode = 0;
}

KeyClass KEYBOARD::ClassifyKey(int32_t keyCode) {
    switch (keyCode) {
    case 37: return KeyLeft;
    case 39: return KeyRight;
    case 8: return KeyBackspace;
    case 46: return KeyDelete;
    case 27: return KeyEscape;
    case 13: return KeyEnter;
    case 9: return KeyTab;
    case 45: return KeyInsert;
    case 107: return KeyPlus;
    case 109: return KeyMinus;
    default: break;
    }
    if (keyCode >= 112 && keyCode <= 120) return static_cast<KeyClass>(KeyF1 + (keyCode - 112));
    return KeyNone;
}
