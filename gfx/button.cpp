// button.cpp: creating, drawing and polling Buttons, and the word wrapper that turns a paragraph
// into text-line Buttons. Drawing goes through gfx/draw.h and gfx/font.h only.
#include "gfx/button.h"

#include <cstring>
#include <new>

#include "framework/mouse.h"
#include "gfx/font.h"

namespace {

constexpr Rgb555 kBevelLight = ColourWhite;
constexpr Rgb555 kBevelDark = ColourDarkGrey;
constexpr int kLabelLimit = ButtonLabelCapacity - 1;

int16_t Kind(const Button* button) { return static_cast<int16_t>(button->action); }

int16_t Add16(int a, int b) { return static_cast<int16_t>(a + b); }

// The two-pixel bevel: outer ring first, then the inner one; top and left take `topLeft`.
void DrawBevel(const Button* b, Rgb555 topLeft, Rgb555 bottomRight) {
    const int16_t x = b->x, y = b->y;
    const int16_t right = Add16(x, b->width), bottom = Add16(y, b->height);
    const int16_t innerLeft = Add16(x, 1), innerTop = Add16(y, 1);
    const int16_t innerRight = Add16(right, -1), innerBottom = Add16(bottom, -1);
    DrawLine(x, y, right, y, LineSolid, topLeft);
    DrawLine(x, y, x, bottom, LineSolid, topLeft);
    DrawLine(x, bottom, right, bottom, LineSolid, bottomRight);
    DrawLine(right, y, right, bottom, LineSolid, bottomRight);
    DrawLine(innerLeft, innerTop, innerRight, innerTop, LineSolid, topLeft);
    DrawLine(innerLeft, innerTop, innerLeft, innerBottom, LineSolid, topLeft);
    DrawLine(innerLeft, innerBottom, innerRight, innerBottom, LineSolid, bottomRight);
    DrawLine(innerRight, innerTop, innerRight, innerBottom, LineSolid, bottomRight);
}

// Makes one text line of the wrapper and stores it in the next slot.
void StoreLine(Button** slots, int16_t& count, int16_t& y, int16_t x, int16_t maxWidth,
               const char* text, int length) {
    char line[ButtonLabelCapacity];
    std::memcpy(line, text, static_cast<size_t>(length));
    line[length] = 0;
    slots[count] = CreateButton(x, y, maxWidth, 0, line, ActionLabel, 0, ColourBlack);
    count = Add16(count, 1);
    y = Add16(y, WrappedLineSpacing);
}

// The longest start of `text` (at most 199 bytes) that is narrower than maxWidth; stops at the
// end of the text, or at the first byte that would make the line too wide.
int FittingLength(const char* text, int16_t maxWidth) {
    char line[ButtonLabelCapacity];
    int length = 0;
    while (text[length] != 0 && length < kLabelLimit) {
        line[length] = text[length];
        line[length + 1] = 0;
        if (TextWidth(ButtonFontIndex, line) >= maxWidth) break;
        ++length;
    }
    return length;
}

int SkipSpaces(const char* text, int position) {
    while (text[position] == ' ') ++position;
    return position;
}

}  // namespace

Button* CreateButton(int16_t x, int16_t y, int16_t width, int16_t height, const char* label,
                     int32_t action, int32_t argument, Rgb555 textColour) {
    Button* button = new (std::nothrow) Button{};
    if (button == nullptr) return nullptr;
    if (label != nullptr) {
        size_t length = std::strlen(label);
        if (length > static_cast<size_t>(kLabelLimit)) length = kLabelLimit;
        std::memcpy(button->label, label, length);
        button->label[length] = 0;
    }
    button->x = x;
    button->y = y;
    button->width = width;
    button->height = height;
    button->argument = argument;
    button->action = action;
    button->pressed = false;
    button->lastMouseDown = false;
    button->forceClick = false;
    button->textColour = textColour;
    return button;
}

void DeleteButton(Button* button) { delete button; }

bool ButtonCanBeClicked(const Button* button) {
    return button != nullptr && button->label[0] != 0 && Kind(button) > 0;
}

void DrawButton(const Button* button) {
    if (button == nullptr) return;
    const Button& b = *button;
    if (Kind(&b) == ActionLabel) {
        DrawText(b.x, b.y, ButtonFontIndex, b.textColour, b.label);
        return;
    }
    int16_t dy = static_cast<int16_t>((b.height - FontHeight(ButtonFontIndex)) / 2 + 1);
    int16_t dx = 0;
    if (b.pressed) {
        dx = 2;
        dy = Add16(dy, 2);
    }
    DrawRect(b.x, b.y, Add16(b.x, b.width), Add16(b.y, b.height), RectFill, ColourButtonFace,
             RectKeepBackground);
    // Centred even when the caption is wider than the Button (cx then lies left of x).
    const int16_t cx = Add16(b.x, (b.width - TextWidth(ButtonFontIndex, b.label)) / 2 + dx);
    const int16_t cy = Add16(b.y, dy);
    if (Kind(&b) != ActionInert) {
        DrawText(cx, cy, ButtonFontIndex, b.textColour, b.label);
    } else {
        // Engraved: a highlight one pixel down and right, under the shadowed caption.
        DrawText(Add16(cx, 1), Add16(cy, 1), ButtonFontIndex, ScaleColour(ColourButtonFace, 166), b.label);
        DrawText(cx, cy, ButtonFontIndex, ScaleColour(ColourButtonFace, 66), b.label);
    }
    if (b.pressed) {
        DrawBevel(&b, kBevelDark, kBevelLight);
    } else {
        DrawBevel(&b, kBevelLight, kBevelDark);
    }
}

bool UpdateButton(Button* button, MOUSE* mouse) {
    if (!ButtonCanBeClicked(button)) return false;
    if (button->forceClick) {
        button->forceClick = false;
        return true;
    }
    if (mouse == nullptr) return false;
    uint8_t left = 0;
    int16_t px = 0, py = 0;
    mouse->GetLeftButton(left);
    mouse->GetMousePosition(px, py);
    const bool down = left != 0;
    // Only a change of the left button acts; moving the pointer alone never does.
    if (down == button->lastMouseDown) return false;
    button->lastMouseDown = down;
    const bool inside = button->x < px && px < button->x + button->width && button->y < py &&
                        py < button->y + button->height;
    bool clicked = false;
    if (!inside) {
        button->pressed = false;
    } else if (down) {
        button->pressed = true;
    } else if (button->pressed) {
        button->pressed = false;
        clicked = true;
    }
    DrawButton(button);
    return clicked;
}

void AddWrappedText(Button** slots, int slotCount, int16_t& count, int16_t& y, int16_t x,
                    int16_t maxWidth, const char* text) {
    if (slots == nullptr || text == nullptr) return;
    int source = SkipSpaces(text, 0);
    while (text[source] != 0 && count >= 0 && count < slotCount) {
        const char* rest = text + source;
        const int fitting = FittingLength(rest, maxWidth);
        int taken = fitting;
        int next = source + fitting;
        if (rest[fitting] != 0) {
            // The line is full: break at its last space, the byte that did not fit included.
            int space = fitting;
            while (space > 0 && rest[space] != ' ') --space;
            if (space > 0) {
                taken = space;
                next = source + space;
            } else {
                // One word wider than the line: break it after its last byte that fits, and
                // always place at least one byte so that the wrapper moves on.
                taken = fitting > 0 ? fitting : 1;
                next = source + taken;
            }
        }
        StoreLine(slots, count, y, x, maxWidth, rest, taken);
        source = SkipSpaces(text, next);
    }
}
