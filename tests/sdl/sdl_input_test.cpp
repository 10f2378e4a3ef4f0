// sdl_input_test.cpp: SDL input events to the Win32 messages Windows itself would deliver for the
// same input, as one table: each event and the messages it gives ("message/wParam/lParam"), all
// in hexadecimal. And the SDL build's frame deadline.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/frame_pacing.h"
#include "platform/sdl/sdl_input.h"

namespace {

// Only the fields the translation reads are set.
SDL_Event Of(uint32_t type) {
    SDL_Event e{};
    e.type = type;
    return e;
}
SDL_Event Key(uint32_t type, SDL_Keycode keycode, SDL_Scancode scancode, uint16_t mod = KMOD_NONE, uint8_t repeat = 0) {
    SDL_Event e = Of(type);
    e.key.repeat = repeat;
    e.key.keysym = SDL_Keysym{scancode, keycode, mod, 0};
    return e;
}
SDL_Event Down(SDL_Keycode keycode, SDL_Scancode scancode, uint16_t mod = KMOD_NONE) { return Key(SDL_KEYDOWN, keycode, scancode, mod); }
SDL_Event Text(const char* utf8) {
    SDL_Event e = Of(SDL_TEXTINPUT);
    SDL_strlcpy(e.text.text, utf8, sizeof e.text.text);
    return e;
}
SDL_Event Button(uint32_t type, uint8_t button, int x, int y) {
    SDL_Event e = Of(type);
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}
SDL_Event Motion(int x, int y, uint32_t state) {
    SDL_Event e = Of(SDL_MOUSEMOTION);
    e.motion.x = x;
    e.motion.y = y;
    e.motion.state = state;
    return e;
}
SDL_Event Wheel(int x, int y, float preciseX, float preciseY, uint32_t direction = SDL_MOUSEWHEEL_NORMAL) {
    SDL_Event e = Of(SDL_MOUSEWHEEL);
    e.wheel.x = x;
    e.wheel.y = y;
    e.wheel.preciseX = preciseX;
    e.wheel.preciseY = preciseY;
    e.wheel.direction = direction;
    e.wheel.mouseX = 10;
    e.wheel.mouseY = 20;
    return e;
}

std::string Describe(const SDL_Event& event) {
    TranslatedMessage out[SdlMaxTranslatedMessages] = {};
    const int count = TranslateSdlInputEvent(event, out);
    std::string text;
    char part[64];
    for (int i = 0; i < count; ++i) {
        std::snprintf(part, sizeof part, "%x/%lx/%lx ", out[i].message,
                      static_cast<unsigned long>(out[i].wParam), static_cast<unsigned long>(out[i].lParam));
        text += part;
    }
    return text;
}

TEST(SdlInput, EventsGiveTheMessagesWindowsWould) {
    const struct {
        const char* what;
        SDL_Event event;
        std::string messages;
    } rows[] = {
        {"a", Down(SDLK_a, SDL_SCANCODE_A), "100/41/1 "},
        {"shift z", Down(SDLK_z, SDL_SCANCODE_Z, KMOD_SHIFT), "100/5a/1 "},
        {"0", Down(SDLK_0, SDL_SCANCODE_0), "100/30/1 "},
        {"left", Down(SDLK_LEFT, SDL_SCANCODE_LEFT), "100/25/1 "},
        {"down", Down(SDLK_DOWN, SDL_SCANCODE_DOWN), "100/28/1 "},
        {"insert", Down(SDLK_INSERT, SDL_SCANCODE_INSERT), "100/2d/1 "},
        {"delete", Down(SDLK_DELETE, SDL_SCANCODE_DELETE), "100/2e/1 "},
        {"keypad +", Down(SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS), "100/6b/1 "},
        {"keypad -", Down(SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS), "100/6d/1 "},
        {"keypad 7, num lock", Down(SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NUM), "100/67/1 "},
        {"keypad 0, num lock", Down(SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM), "100/60/1 "},
        {"keypad 4", Down(SDLK_KP_4, SDL_SCANCODE_KP_4), "100/25/1 "},
        {"keypad .", Down(SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD), "100/2e/1 "},
        {"keypad 5", Down(SDLK_KP_5, SDL_SCANCODE_KP_5), "100/c/1 "},
        {"F1", Down(SDLK_F1, SDL_SCANCODE_F1), "100/70/1 "},
        {"F12", Down(SDLK_F12, SDL_SCANCODE_F12), "100/7b/1 "},
        {"shift", Down(SDLK_LSHIFT, SDL_SCANCODE_LSHIFT), "100/10/1 "},
        {"minus", Down(SDLK_MINUS, SDL_SCANCODE_MINUS), "100/bd/1 "},
        {"a where q is", Down(SDLK_a, SDL_SCANCODE_Q), "100/41/1 "},
        {"e acute on 2", Down(0xE9, SDL_SCANCODE_2), "100/32/1 "},
        {"enter", Down(SDLK_RETURN, SDL_SCANCODE_RETURN), "100/d/1 102/d/1 "},
        {"keypad enter", Down(SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER), "100/d/1 102/d/1 "},
        {"backspace", Down(SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE), "100/8/1 102/8/1 "},
        {"tab", Down(SDLK_TAB, SDL_SCANCODE_TAB), "100/9/1 102/9/1 "},
        {"escape", Down(SDLK_ESCAPE, SDL_SCANCODE_ESCAPE), "100/1b/1 102/1b/1 "},
        {"a repeated", Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 1), "100/41/40000001 "},
        {"enter up", Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN), "101/d/c0000001 "},
        {"alt f", Down(SDLK_f, SDL_SCANCODE_F, KMOD_LALT), "104/46/1 "},
        {"F10", Down(SDLK_F10, SDL_SCANCODE_F10), "104/79/1 "},
        {"F10 up", Key(SDL_KEYUP, SDLK_F10, SDL_SCANCODE_F10), "105/79/c0000001 "},
        {"AltGr q", Down(SDLK_q, SDL_SCANCODE_Q, KMOD_LALT | KMOD_LCTRL), "100/51/1 "},
        {"play", Down(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY), ""},
        {"text a", Text("a"), "102/61/1 "},
        {"text euro", Text("\xE2\x82\xAC"), "102/80/1 "},
        // What Windows-1252 cannot hold is dropped (text_convert_test.cpp has the conversion).
        {"text x CJK y", Text("x\xE4\xB8\xADy"), "102/78/1 102/79/1 "},
        {"text of six", Text("abcdef"), "102/61/1 102/62/1 102/63/1 102/64/1 "},
        {"left down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 140, 60), "200/0/3c008c 201/1/3c008c "},
        {"left up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 140, 60), "200/0/3c008c 202/0/3c008c "},
        {"right down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 140, 60), "200/0/3c008c 204/2/3c008c "},
        {"right up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 140, 60), "200/0/3c008c 205/0/3c008c "},
        {"middle down", Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 140, 60), "200/0/3c008c 207/10/3c008c "},
        {"x2 up", Button(SDL_MOUSEBUTTONUP, SDL_BUTTON_X2, 1, 2), "200/0/20001 20c/20000/20001 "},
        {"motion, two held", Motion(549, 349, SDL_BUTTON_LMASK | SDL_BUTTON_RMASK), "200/3/15d0225 "},
        {"motion above left", Motion(-5, -1, 0), "200/0/fffffffb "},
        {"wheel", Wheel(0, 1, 0, 1.0f), "20a/780000/14000a "},
        {"wheel flipped", Wheel(0, -1, 0, -1.0f, SDL_MOUSEWHEEL_FLIPPED), "20a/780000/14000a "},
        {"wheel quarter", Wheel(0, 0, 0, 0.25f), "20a/1e0000/14000a "},
        {"wheel sideways", Wheel(1, 0, 1.0f, 0), "20e/780000/14000a "},
        {"window event", Of(SDL_WINDOWEVENT), ""},
    };
    for (const auto& row : rows) EXPECT_EQ(Describe(row.event), row.messages) << row.what;
}

TEST(SdlFramePacing, EarlyFramesWaitLateOnesDoNotAndAStallRestartsTheGrid) {
    // now, deadline -> wait, next deadline; ticks of 1000 per refresh.
    const uint64_t rows[][4] = {{5100, 6000, 900, 7000}, {6400, 6000, 0, 7000}, {6000, 6000, 0, 7000},
                                {7000, 6000, 0, 7000},   {5000, 0, 0, 6000},    {9500, 6000, 0, 10500}};
    for (const auto& row : rows) {
        const FramePace pace = PaceFrame(row[0], row[1], 1000);
        EXPECT_EQ(pace.waitTicks, row[2]) << row[0] << " " << row[1];
        EXPECT_EQ(pace.nextDeadline, row[3]) << row[0] << " " << row[1];
    }
}

}  // namespace
