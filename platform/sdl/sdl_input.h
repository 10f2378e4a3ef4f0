// sdl_input.h: SDL input events as the Win32 messages the framework's window procedure reads.
//
// The SDL event pump (platform/sdl) hands every event to TranslateSdlInputEvent and passes each
// message it returns, in order, to MainWindowProc. Only input events translate; all others give
// no message. The header forward-declares SDL_Event so that including it pulls in no SDL header.
#pragma once

#include <cstdint>

union SDL_Event;

struct TranslatedMessage {
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
};

// Win32 message numbers the translation produces.
enum : uint32_t {
    SdlWmKeyDown = 0x100,      // WM_KEYDOWN
    SdlWmKeyUp = 0x101,        // WM_KEYUP
    SdlWmChar = 0x102,         // WM_CHAR
    SdlWmSysKeyDown = 0x104,   // WM_SYSKEYDOWN: keys held with Alt (not AltGr), and F10
    SdlWmSysKeyUp = 0x105,     // WM_SYSKEYUP
    SdlWmMouseMove = 0x200,    // WM_MOUSEMOVE
    SdlWmLButtonDown = 0x201,
    SdlWmLButtonUp = 0x202,
    SdlWmRButtonDown = 0x204,
    SdlWmRButtonUp = 0x205,
    SdlWmMButtonDown = 0x207,
    SdlWmMButtonUp = 0x208,
    SdlWmMouseWheel = 0x20A,
    SdlWmXButtonDown = 0x20B,
    SdlWmXButtonUp = 0x20C,
    SdlWmMouseHWheel = 0x20E,
};

enum : int { SdlMaxTranslatedMessages = 4 };

// Translates one SDL event into up to four Win32 messages written to `out`; returns how many.
//  - SDL_KEYDOWN: WM_KEYDOWN with the Win32 virtual-key code (letters and digits as their
//    upper-case ASCII codes, Enter 13, Escape 27, Backspace 8, Tab 9, arrows 37-40, Insert 45,
//    Delete 46, keypad plus 107 and minus 109, F1-F12 112-123, and the rest as Win32 defines
//    them); Enter, Backspace, Tab and Escape are followed by WM_CHAR 13, 8, 9 and 27, as
//    TranslateMessage would add. With Alt (left Alt, without Ctrl) or for F10 it is
//    WM_SYSKEYDOWN and no WM_CHAR. A key without a virtual-key code gives nothing.
//    lParam: repeat count 1, bit 30 set for an auto-repeat.
//  - SDL_KEYUP: WM_KEYUP (WM_SYSKEYUP), lParam with bits 30 and 31 set.
//  - SDL_TEXTINPUT: one WM_CHAR per character, with its Windows-1252 byte; characters that
//    Windows-1252 cannot hold give none (at most four characters of one event are kept).
//  - Mouse buttons: WM_MOUSEMOVE to the event's position, then WM_xBUTTONDOWN / UP, so the
//    pointer is where the press happened even when SDL sent no motion first. lParam = x | y << 16
//    (each a 16-bit word); wParam holds the MK_ flag of the button going down.
//  - SDL_MOUSEMOTION: WM_MOUSEMOVE, wParam the MK_ flags of the held buttons.
//  - SDL_MOUSEWHEEL: WM_MOUSEWHEEL with 120 per notch (positive away from the user) in the high
//    word of wParam, WM_MOUSEHWHEEL for sideways turns (positive to the right); lParam is the
//    pointer in window coordinates (Win32 gives screen coordinates; the framework reads neither).
int TranslateSdlInputEvent(const SDL_Event& event, TranslatedMessage out[4]);

// The Win32 virtual-key code of an SDL key (keycode and scancode as SDL_Keysym holds them, mod
// its modifier state), or 0 when Win32 has none. Keypad keys without Num Lock are the navigation
// keys Win32 gives them (keypad 4 is VK_LEFT, keypad 0 VK_INSERT, ...).
int SdlKeyToVirtualKey(int32_t keycode, int32_t scancode, uint16_t mod);
