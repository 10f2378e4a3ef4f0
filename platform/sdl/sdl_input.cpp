// sdl_input.cpp: the pure translation of SDL keyboard, text and mouse events into the Win32
// messages the framework's window procedure understands. Leaves out: touch, game controllers,
// text editing (IME composition) and the modifier bits of mouse messages' wParam, which SDL
// mouse events do not carry and the framework does not read.
#include "platform/sdl/sdl_input.h"

#include <SDL.h>

#include <cmath>
#include <string>

#include "platform/text_convert.h"

namespace {

// Win32 virtual-key codes that have no printable name.
enum : int {
    VkBack = 0x08, VkTab = 0x09, VkClear = 0x0C, VkReturn = 0x0D, VkShift = 0x10, VkControl = 0x11,
    VkMenu = 0x12, VkPause = 0x13, VkCapital = 0x14, VkEscape = 0x1B, VkSpace = 0x20,
    VkPrior = 0x21, VkNext = 0x22, VkEnd = 0x23, VkHome = 0x24, VkLeft = 0x25, VkUp = 0x26,
    VkRight = 0x27, VkDown = 0x28, VkSnapshot = 0x2C, VkInsert = 0x2D, VkDelete = 0x2E,
    VkHelp = 0x2F, VkLWin = 0x5B, VkRWin = 0x5C, VkApps = 0x5D, VkNumpad0 = 0x60,
    VkMultiply = 0x6A, VkAdd = 0x6B, VkSubtract = 0x6D, VkDecimal = 0x6E, VkDivide = 0x6F,
    VkF1 = 0x70, VkF10 = 0x79, VkF13 = 0x7C, VkNumLock = 0x90, VkScroll = 0x91,
    VkOem1 = 0xBA, VkOemPlus = 0xBB, VkOemComma = 0xBC, VkOemMinus = 0xBD, VkOemPeriod = 0xBE,
    VkOem2 = 0xBF, VkOem3 = 0xC0, VkOem4 = 0xDB, VkOem5 = 0xDC, VkOem6 = 0xDD, VkOem7 = 0xDE,
    VkOem102 = 0xE2,
};

// MK_ flags of mouse messages' wParam.
constexpr uintptr_t MkLButton = 0x01, MkRButton = 0x02, MkMButton = 0x10, MkXButton1 = 0x20,
                    MkXButton2 = 0x40;

constexpr int kWheelDeltaPerNotch = 120;

// Keypad keys, by position: the Num Lock code and the navigation key without Num Lock.
int KeypadVirtualKey(int32_t scancode, bool numLock) {
    switch (scancode) {
    case SDL_SCANCODE_KP_DIVIDE: return VkDivide;
    case SDL_SCANCODE_KP_MULTIPLY: return VkMultiply;
    case SDL_SCANCODE_KP_MINUS: return VkSubtract;
    case SDL_SCANCODE_KP_PLUS: return VkAdd;
    case SDL_SCANCODE_KP_ENTER: return VkReturn;
    default: break;
    }
    if (scancode == SDL_SCANCODE_KP_PERIOD) return numLock ? VkDecimal : VkDelete;
    if (scancode < SDL_SCANCODE_KP_1 || scancode > SDL_SCANCODE_KP_0) return 0;
    // SDL numbers the digit keys 1 ... 9, 0.
    const int digit = scancode == SDL_SCANCODE_KP_0 ? 0 : scancode - SDL_SCANCODE_KP_1 + 1;
    if (numLock) return VkNumpad0 + digit;
    static const int navigation[10] = {VkInsert, VkEnd,   VkDown, VkNext, VkLeft,
                                       VkClear,  VkRight, VkHome, VkUp,   VkPrior};
    return navigation[digit];
}

// Named keys, by SDL keycode.
int NamedVirtualKey(int32_t keycode) {
    switch (keycode) {
    case SDLK_BACKSPACE: return VkBack;
    case SDLK_TAB: return VkTab;
    case SDLK_RETURN: return VkReturn;
    case SDLK_ESCAPE: return VkEscape;
    case SDLK_SPACE: return VkSpace;
    case SDLK_PAGEUP: return VkPrior;
    case SDLK_PAGEDOWN: return VkNext;
    case SDLK_END: return VkEnd;
    case SDLK_HOME: return VkHome;
    case SDLK_LEFT: return VkLeft;
    case SDLK_UP: return VkUp;
    case SDLK_RIGHT: return VkRight;
    case SDLK_DOWN: return VkDown;
    case SDLK_PRINTSCREEN: return VkSnapshot;
    case SDLK_INSERT: return VkInsert;
    case SDLK_DELETE: return VkDelete;
    case SDLK_HELP: return VkHelp;
    case SDLK_LSHIFT: case SDLK_RSHIFT: return VkShift;
    case SDLK_LCTRL: case SDLK_RCTRL: return VkControl;
    case SDLK_LALT: case SDLK_RALT: return VkMenu;
    case SDLK_PAUSE: return VkPause;
    case SDLK_CAPSLOCK: return VkCapital;
    case SDLK_NUMLOCKCLEAR: return VkNumLock;
    case SDLK_SCROLLLOCK: return VkScroll;
    case SDLK_LGUI: return VkLWin;
    case SDLK_RGUI: return VkRWin;
    case SDLK_APPLICATION: return VkApps;
    default: break;
    }
    if (keycode >= SDLK_F1 && keycode <= SDLK_F12) return VkF1 + (keycode - SDLK_F1);
    if (keycode >= SDLK_F13 && keycode <= SDLK_F24) return VkF13 + (keycode - SDLK_F13);
    return 0;
}

// Punctuation keys, by their position on a US keyboard, as Win32's OEM codes name them.
int OemVirtualKey(int32_t scancode) {
    switch (scancode) {
    case SDL_SCANCODE_SEMICOLON: return VkOem1;
    case SDL_SCANCODE_EQUALS: return VkOemPlus;
    case SDL_SCANCODE_COMMA: return VkOemComma;
    case SDL_SCANCODE_MINUS: return VkOemMinus;
    case SDL_SCANCODE_PERIOD: return VkOemPeriod;
    case SDL_SCANCODE_SLASH: return VkOem2;
    case SDL_SCANCODE_GRAVE: return VkOem3;
    case SDL_SCANCODE_LEFTBRACKET: return VkOem4;
    case SDL_SCANCODE_BACKSLASH: return VkOem5;
    case SDL_SCANCODE_RIGHTBRACKET: return VkOem6;
    case SDL_SCANCODE_APOSTROPHE: return VkOem7;
    case SDL_SCANCODE_NONUSBACKSLASH: return VkOem102;
    default: return 0;
    }
}

// The control character TranslateMessage makes of a key, or 0.
int ControlCharacter(int virtualKey) {
    switch (virtualKey) {
    case VkReturn: case VkBack: case VkTab: case VkEscape: return virtualKey;
    default: return 0;
    }
}

intptr_t PointLParam(int x, int y) {
    return static_cast<intptr_t>(static_cast<uint16_t>(x)) |
           (static_cast<intptr_t>(static_cast<uint16_t>(y)) << 16);
}

uintptr_t HeldButtonFlags(uint32_t sdlState) {
    uintptr_t flags = 0;
    if (sdlState & SDL_BUTTON_LMASK) flags |= MkLButton;
    if (sdlState & SDL_BUTTON_RMASK) flags |= MkRButton;
    if (sdlState & SDL_BUTTON_MMASK) flags |= MkMButton;
    if (sdlState & SDL_BUTTON_X1MASK) flags |= MkXButton1;
    if (sdlState & SDL_BUTTON_X2MASK) flags |= MkXButton2;
    return flags;
}

int TranslateKey(const SDL_KeyboardEvent& key, bool down, TranslatedMessage out[4]) {
    const int virtualKey = SdlKeyToVirtualKey(key.keysym.sym, key.keysym.scancode, key.keysym.mod);
    if (virtualKey == 0) return 0;
    // Alt makes system keys, as on Windows; Ctrl+Alt is AltGr there and types normally.
    const bool altOnly = (key.keysym.mod & KMOD_LALT) != 0 && (key.keysym.mod & KMOD_CTRL) == 0;
    const bool system = virtualKey == VkF10 || virtualKey == VkMenu || altOnly;
    if (!down) {
        const intptr_t lParam = 1 | (intptr_t{1} << 30) | (intptr_t{1} << 31);
        out[0] = TranslatedMessage{system ? SdlWmSysKeyUp : SdlWmKeyUp, static_cast<uintptr_t>(virtualKey), lParam};
        return 1;
    }
    const intptr_t lParam = 1 | (key.repeat != 0 ? intptr_t{1} << 30 : 0);
    out[0] = TranslatedMessage{system ? SdlWmSysKeyDown : SdlWmKeyDown, static_cast<uintptr_t>(virtualKey), lParam};
    const int character = ControlCharacter(virtualKey);
    if (system || character == 0) return 1;
    out[1] = TranslatedMessage{SdlWmChar, static_cast<uintptr_t>(character), lParam};
    return 2;
}

int TranslateText(const SDL_TextInputEvent& text, TranslatedMessage out[4]) {
    const std::string bytes = Utf8ToWindows1252(text.text);
    int count = 0;
    for (unsigned char byte : bytes) {
        if (count == SdlMaxTranslatedMessages) break;
        out[count++] = TranslatedMessage{SdlWmChar, byte, 1};
    }
    return count;
}

int TranslateButton(const SDL_MouseButtonEvent& button, bool down, TranslatedMessage out[4]) {
    uint32_t message = 0;
    uintptr_t wParam = 0;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        message = down ? SdlWmLButtonDown : SdlWmLButtonUp;
        wParam = down ? MkLButton : 0;
        break;
    case SDL_BUTTON_RIGHT:
        message = down ? SdlWmRButtonDown : SdlWmRButtonUp;
        wParam = down ? MkRButton : 0;
        break;
    case SDL_BUTTON_MIDDLE:
        message = down ? SdlWmMButtonDown : SdlWmMButtonUp;
        wParam = down ? MkMButton : 0;
        break;
    case SDL_BUTTON_X1:
    case SDL_BUTTON_X2: {
        const bool first = button.button == SDL_BUTTON_X1;
        message = down ? SdlWmXButtonDown : SdlWmXButtonUp;
        // XBUTTON1 or XBUTTON2 in the high word, the MK_ flag of a button going down in the low.
        wParam = (uintptr_t{first ? 1u : 2u} << 16) | (down ? (first ? MkXButton1 : MkXButton2) : 0);
        break;
    }
    default: return 0;
    }
    const intptr_t lParam = PointLParam(button.x, button.y);
    out[0] = TranslatedMessage{SdlWmMouseMove, 0, lParam};
    out[1] = TranslatedMessage{message, wParam, lParam};
    return 2;
}

// Wheel units of an SDL turn: the precise amount where SDL gives one, else whole notches.
int WheelUnits(float precise, int32_t whole, bool flipped) {
    long units = std::lround(static_cast<double>(precise) * kWheelDeltaPerNotch);
    if (units == 0) units = static_cast<long>(whole) * kWheelDeltaPerNotch;
    if (flipped) units = -units;
    if (units > 32767) units = 32767;
    if (units < -32768) units = -32768;
    return static_cast<int>(units);
}

int TranslateWheel(const SDL_MouseWheelEvent& wheel, TranslatedMessage out[4]) {
    const bool flipped = wheel.direction == SDL_MOUSEWHEEL_FLIPPED;
    const intptr_t lParam = PointLParam(wheel.mouseX, wheel.mouseY);
    int count = 0;
    const int vertical = WheelUnits(wheel.preciseY, wheel.y, flipped);
    if (vertical != 0) {
        out[count++] = TranslatedMessage{SdlWmMouseWheel, static_cast<uintptr_t>(static_cast<uint16_t>(vertical)) << 16, lParam};
    }
    const int sideways = WheelUnits(wheel.preciseX, wheel.x, flipped);
    if (sideways != 0) {
        out[count++] = TranslatedMessage{SdlWmMouseHWheel, static_cast<uintptr_t>(static_cast<uint16_t>(sideways)) << 16, lParam};
    }
    return count;
}

}  // namespace

int SdlKeyToVirtualKey(int32_t keycode, int32_t scancode, uint16_t mod) {
    if (keycode >= 'a' && keycode <= 'z') return keycode - 'a' + 'A';
    if (keycode >= '0' && keycode <= '9') return keycode;
    const int keypad = KeypadVirtualKey(scancode, (mod & KMOD_NUM) != 0);
    if (keypad != 0) return keypad;
    const int named = NamedVirtualKey(keycode);
    if (named != 0) return named;
    // A layout whose letter keys give other letters still has Win32 name them by position.
    if (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) return 'A' + (scancode - SDL_SCANCODE_A);
    if (scancode >= SDL_SCANCODE_1 && scancode <= SDL_SCANCODE_9) return '1' + (scancode - SDL_SCANCODE_1);
    if (scancode == SDL_SCANCODE_0) return '0';
    return OemVirtualKey(scancode);
}

int TranslateSdlInputEvent(const SDL_Event& event, TranslatedMessage out[4]) {
    switch (event.type) {
    case SDL_KEYDOWN: return TranslateKey(event.key, true, out);
    case SDL_KEYUP: return TranslateKey(event.key, false, out);
    case SDL_TEXTINPUT: return TranslateText(event.text, out);
    case SDL_MOUSEMOTION:
        out[0] = TranslatedMessage{SdlWmMouseMove, HeldButtonFlags(event.motion.state),
                                   PointLParam(event.motion.x, event.motion.y)};
        return 1;
    case SDL_MOUSEBUTTONDOWN: return TranslateButton(event.button, true, out);
    case SDL_MOUSEBUTTONUP: return TranslateButton(event.button, false, out);
    case SDL_MOUSEWHEEL: return TranslateWheel(event.wheel, out);
    default: return 0;
    }
}
