// button.h: the one widget of the wizard's pages.
//
// A Button is a plain record that serves as a push button, an inert grey panel or disabled
// button, a text field's box and a plain line of text; a paragraph is a stack of text-line
// Buttons made by AddWrappedText. The wizard creates its Buttons when it builds a page, draws
// them, and polls each of them once per frame with UpdateButton; what a click means is the
// wizard's business. A Button is allocated by CreateButton and released with delete (or
// DeleteButton) by whoever stores it.
//
// The drawn box of a Button at (x, y) spans columns x to x + width and rows y to y + height,
// both ends included, with a two-pixel bevel; the pointer counts as inside only strictly within
// (x < px < x + width, y < py < y + height), so the outer bevel pixels never react.
#pragma once

#include <cstdint>

#include "gfx/draw.h"

class MOUSE;

// The kinds of Button below 1; the wizard's action codes are 1 and up. `action` is compared as a
// signed 16-bit value.
enum : int32_t {
    ActionTextField = -2,  // grey box with bevel, caption in textColour; never clicked
    ActionLabel = -1,      // the caption alone at (x, y), no box; never clicked
    ActionInert = 0,       // grey box with bevel, engraved caption; never clicked
};

enum : int32_t {
    ButtonLabelCapacity = 200,  // label bytes, the terminating zero included
    ButtonFontIndex = 1,        // every caption is drawn in this font
    WrappedLineSpacing = 17,    // rows between the lines AddWrappedText makes
};

struct Button {
    char label[ButtonLabelCapacity];  // zero-terminated caption, at most 199 characters
    int16_t x;
    int16_t y;
    int16_t width;
    int16_t height;
    int32_t argument;    // the wizard's value for the action; never read here
    int32_t action;      // ActionTextField, ActionLabel, ActionInert, or a wizard action code
    bool pressed;        // held down and drawn sunken; an owner may set it on an inert Button
    bool lastMouseDown;  // the left-button state UpdateButton saw last time
    bool forceClick;     // the next UpdateButton reports a click without the mouse
    Rgb555 textColour;   // caption colour of text lines, text fields and clickable Buttons
};

// A new Button with a copy of the label (cut to 199 characters; null reads as empty), not
// pressed, not forced, not drawn. Null when no memory is left.
Button* CreateButton(int16_t x, int16_t y, int16_t width, int16_t height, const char* label,
                     int32_t action, int32_t argument, Rgb555 textColour);
// Releases a Button made by CreateButton; null is ignored.
void DeleteButton(Button* button);

// True when the Button reacts to the mouse at all: a non-empty label and a positive action.
bool ButtonCanBeClicked(const Button* button);

// Draws the Button in its current look into the frame buffer; null is ignored.
void DrawButton(const Button* button);

// Polls one Button: true when it was clicked in this call. Only a change of the left mouse
// button since the Button's last update acts: a press inside sinks it, a release inside a sunk
// Button is a click, any change outside raises it; each change redraws it. forceClick reports a
// click at once (and is cleared) without touching the mouse or the drawing. A null Button, one
// that cannot be clicked, or a null mouse give false.
bool UpdateButton(Button* button, MOUSE* mouse);

// Breaks text into lines narrower than maxWidth in the caption font and appends one black
// ActionLabel Button per line to slots[count], slots[count + 1], ..., starting at (x, y); count
// goes up by 1 and y by 17 per stored line. Lines break at spaces and carry no leading spaces.
// A word wider than maxWidth on its own is broken after its last character that fits (at least
// one character goes on each line), so the wrapper always gets through the text. Nothing is ever
// stored at slotCount or beyond: lines that do not fit in the slots are dropped.
void AddWrappedText(Button** slots, int slotCount, int16_t& count, int16_t& y, int16_t x,
                    int16_t maxWidth, const char* text);
