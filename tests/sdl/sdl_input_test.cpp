// The SDL event translation: each SDL input event must reach the window procedure as the Win32
// messages, codes and parameters Windows itself would deliver for the same input.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "platform/sdl/sdl_input.h"

namespace {

std::vector<TranslatedMessage> Translate(const SDL_Event& event) {
    TranslatedMessage out[4] = {};
    const int count = TranslateSdlInputEvent(event, out);
    EXPECT_GE(count, 0);
    EXPECT_LE(count, 4);
    return std::vector<TranslatedMessage>(out, out + count);
}

SDL_Event Key(uint32_t type, SDL_Keycode keycode, SDL_Scancode scancode, uint16_t mod = KMOD_NONE,
              uint8_t repeat = 0) {
    SDL_Event event{};
    event.type = type;
    event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.key.repeat = repeat;
    event.key.keysym.sym = keycode;
    event.key.keysym.scancode = scancode;
    event.key.keysym.mod = mod;
    return event;
}

SDL_Event KeyDown(SDL_Keycode keycode, SDL_Scancode scancode, uint16_t mod = KMOD_NONE) {
    return Key(SDL_KEYDOWN, keycode, scancode, mod);
}

SDL_Event Text(const char* utf8) {
    SDL_Event event{};
    event.type = SDL_TEXTINPUT;
    SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
    return event;
}

SDL_Event Button(uint32_t type, uint8_t button, int x, int y) {
    SDL_Event event{};
    event.type = type;
    event.button.button = button;
    event.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    event.button.clicks = 1;
    event.button.x = x;
    event.button.y = y;
    return event;
}

SDL_Event Wheel(int y, float preciseY, uint32_t direction = SDL_MOUSEWHEEL_NORMAL) {
    SDL_Event event{};
    event.type = SDL_MOUSEWHEEL;
    event.wheel.y = y;
    event.wheel.preciseY = preciseY;
    event.wheel.direction = direction;
    event.wheel.mouseX = 10;
    event.wheel.mouseY = 20;
    return event;
}

int16_t HighWordSigned(uintptr_t wParam) { return static_cast<int16_t>(static_cast<uint16_t>(wParam >> 16)); }

}  // namespace

TEST(SdlKeyTranslation, KeysGiveTheirWin32VirtualKeyCodes) {
    struct Row {
        SDL_Keycode keycode;
        SDL_Scancode scancode;
        uint16_t mod;
        int virtualKey;
    };
    const Row rows[] = {
        {SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 'A'},
        {SDLK_z, SDL_SCANCODE_Z, KMOD_SHIFT, 'Z'},
        {SDLK_0, SDL_SCANCODE_0, KMOD_NONE, '0'},
        {SDLK_LEFT, SDL_SCANCODE_LEFT, KMOD_NONE, 37},
        {SDLK_DOWN, SDL_SCANCODE_DOWN, KMOD_NONE, 40},
        {SDLK_INSERT, SDL_SCANCODE_INSERT, KMOD_NONE, 45},
        {SDLK_DELETE, SDL_SCANCODE_DELETE, KMOD_NONE, 46},
        {SDLK_KP_PLUS, SDL_SCANCODE_KP_PLUS, KMOD_NONE, 107},
        {SDLK_KP_MINUS, SDL_SCANCODE_KP_MINUS, KMOD_NONE, 109},
        {SDLK_KP_7, SDL_SCANCODE_KP_7, KMOD_NUM, 103},
        {SDLK_KP_0, SDL_SCANCODE_KP_0, KMOD_NUM, 96},
        {SDLK_KP_4, SDL_SCANCODE_KP_4, KMOD_NONE, 37},
        {SDLK_KP_PERIOD, SDL_SCANCODE_KP_PERIOD, KMOD_NONE, 46},
        {SDLK_KP_5, SDL_SCANCODE_KP_5, KMOD_NONE, 12},
        {SDLK_F1, SDL_SCANCODE_F1, KMOD_NONE, 112},
        {SDLK_F12, SDL_SCANCODE_F12, KMOD_NONE, 123},
        {SDLK_LSHIFT, SDL_SCANCODE_LSHIFT, KMOD_NONE, 16},
        {SDLK_MINUS, SDL_SCANCODE_MINUS, KMOD_NONE, 189},
        // A French layout: the key in the place of Q gives a, and Windows calls it VK 'A'.
        {SDLK_a, SDL_SCANCODE_Q, KMOD_NONE, 'A'},
        // A letter key whose layout gives no ASCII letter is named by its position.
        {0xE9, SDL_SCANCODE_2, KMOD_NONE, '2'},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << "SDL key " << row.keycode << " scancode " << row.scancode);
        const std::vector<TranslatedMessage> messages = Translate(KeyDown(row.keycode, row.scancode, row.mod));
        ASSERT_GE(messages.size(), 1u);
        EXPECT_EQ(messages[0].message, 0x100u);
        EXPECT_EQ(messages[0].wParam, static_cast<uintptr_t>(row.virtualKey));
    }
}

TEST(SdlKeyTranslation, EnterBackspaceTabAndEscapeAlsoTypeTheirControlCharacter) {
    const struct {
        SDL_Keycode keycode;
        SDL_Scancode scancode;
        unsigned code;
    } rows[] = {{SDLK_RETURN, SDL_SCANCODE_RETURN, 13},
                {SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER, 13},
                {SDLK_BACKSPACE, SDL_SCANCODE_BACKSPACE, 8},
                {SDLK_TAB, SDL_SCANCODE_TAB, 9},
                {SDLK_ESCAPE, SDL_SCANCODE_ESCAPE, 27}};
    for (const auto& row : rows) {
        const std::vector<TranslatedMessage> messages = Translate(KeyDown(row.keycode, row.scancode));
        ASSERT_EQ(messages.size(), 2u) << row.code;
        EXPECT_EQ(messages[0].message, 0x100u);
        EXPECT_EQ(messages[0].wParam, row.code);
        EXPECT_EQ(messages[1].message, 0x102u);
        EXPECT_EQ(messages[1].wParam, row.code);
    }
    // Other keys type through SDL_TEXTINPUT only, so their key-down carries no character.
    EXPECT_EQ(Translate(KeyDown(SDLK_a, SDL_SCANCODE_A)).size(), 1u);
    EXPECT_EQ(Translate(KeyDown(SDLK_LEFT, SDL_SCANCODE_LEFT)).size(), 1u);
}

TEST(SdlKeyTranslation, RepeatsReleasesAndSystemKeys) {
    const std::vector<TranslatedMessage> first = Translate(Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A));
    const std::vector<TranslatedMessage> repeat = Translate(Key(SDL_KEYDOWN, SDLK_a, SDL_SCANCODE_A, KMOD_NONE, 1));
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(repeat.size(), 1u);
    EXPECT_EQ(first[0].lParam & (intptr_t{1} << 30), 0);
    EXPECT_NE(repeat[0].lParam & (intptr_t{1} << 30), 0);

    const std::vector<TranslatedMessage> up = Translate(Key(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN));
    ASSERT_EQ(up.size(), 1u);
    EXPECT_EQ(up[0].message, 0x101u);
    EXPECT_EQ(up[0].wParam, 13u);

    // Alt+F and F10 are system keys: WM_SYSKEYDOWN, which the framework does not record, and no
    // character; Ctrl+Alt is AltGr on Windows and stays an ordinary key.
    const std::vector<TranslatedMessage> altF = Translate(KeyDown(SDLK_f, SDL_SCANCODE_F, KMOD_LALT));
    ASSERT_EQ(altF.size(), 1u);
    EXPECT_EQ(altF[0].message, 0x104u);
    EXPECT_EQ(altF[0].wParam, static_cast<uintptr_t>('F'));
    const std::vector<TranslatedMessage> f10 = Translate(KeyDown(SDLK_F10, SDL_SCANCODE_F10));
    ASSERT_EQ(f10.size(), 1u);
    EXPECT_EQ(f10[0].message, 0x104u);
    EXPECT_EQ(f10[0].wParam, 121u);
    const std::vector<TranslatedMessage> altGr = Translate(KeyDown(SDLK_q, SDL_SCANCODE_Q, KMOD_LALT | KMOD_LCTRL));
    ASSERT_EQ(altGr.size(), 1u);
    EXPECT_EQ(altGr[0].message, 0x100u);
    EXPECT_EQ(Translate(Key(SDL_KEYUP, SDLK_F10, SDL_SCANCODE_F10))[0].message, 0x105u);

    // A key Win32 has no code for gives nothing at all.
    EXPECT_TRUE(Translate(KeyDown(SDLK_AUDIOPLAY, SDL_SCANCODE_AUDIOPLAY)).empty());
}

TEST(SdlTextTranslation, EachCharacterBecomesItsWindows1252Byte) {
    const struct {
        const char* utf8;
        std::vector<unsigned> bytes;
    } rows[] = {
        {"a", {97}},
        {"\xE2\x82\xAC", {0x80}},        // euro sign
        {"\xC3\x85\xC3\xA6", {0xC5, 0xE6}},
        {"\xE4\xB8\xAD", {}},            // a CJK character: Windows-1252 has none
        {"\xF0\x9F\x98\x80", {}},        // an emoji: none either
        {"x\xE4\xB8\xADy", {'x', 'y'}},  // only the character that cannot be held is dropped
        {"abcdef", {'a', 'b', 'c', 'd'}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.utf8);
        const std::vector<TranslatedMessage> messages = Translate(Text(row.utf8));
        ASSERT_EQ(messages.size(), row.bytes.size());
        for (size_t i = 0; i < messages.size(); ++i) {
            EXPECT_EQ(messages[i].message, 0x102u);
            EXPECT_EQ(messages[i].wParam, row.bytes[i]);
        }
    }
}

TEST(SdlMouseTranslation, ButtonsArriveWithTheirPositionLikeWin32) {
    const struct {
        uint32_t type;
        uint8_t button;
        uint32_t message;
    } rows[] = {
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 0x201},  {SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 0x202},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_RIGHT, 0x204}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_RIGHT, 0x205},
        {SDL_MOUSEBUTTONDOWN, SDL_BUTTON_MIDDLE, 0x207}, {SDL_MOUSEBUTTONUP, SDL_BUTTON_X2, 0x20C},
    };
    const intptr_t at = 140 | (60 << 16);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.message);
        const std::vector<TranslatedMessage> messages = Translate(Button(row.type, row.button, 140, 60));
        ASSERT_EQ(messages.size(), 2u);
        EXPECT_EQ(messages[0].message, 0x200u);
        EXPECT_EQ(messages[0].lParam, at);
        EXPECT_EQ(messages[1].message, row.message);
        EXPECT_EQ(messages[1].lParam, at);
    }
    EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 1, 2))[1].wParam, 1u);  // MK_LBUTTON
    EXPECT_EQ(Translate(Button(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_X2, 1, 2))[1].wParam >> 16, 2u);  // XBUTTON2
}

TEST(SdlMouseTranslation, MotionPacksThePositionAndHeldButtons) {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.x = 549;
    event.motion.y = 349;
    event.motion.state = SDL_BUTTON_LMASK | SDL_BUTTON_RMASK;
    std::vector<TranslatedMessage> messages = Translate(event);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, 0x200u);
    EXPECT_EQ(messages[0].lParam, 549 | (349 << 16));
    EXPECT_EQ(messages[0].wParam, 0x03u);  // MK_LBUTTON | MK_RBUTTON

    // A pointer left of and above the window (while a button is held) gives negative words, which
    // the window procedure reads back as signed 16-bit values.
    event.motion.x = -5;
    event.motion.y = -1;
    messages = Translate(event);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(static_cast<int16_t>(messages[0].lParam & 0xFFFF), -5);
    EXPECT_EQ(static_cast<int16_t>((messages[0].lParam >> 16) & 0xFFFF), -1);
}

TEST(SdlMouseTranslation, WheelGives120PerNotchInTheHighWord) {
    std::vector<TranslatedMessage> messages = Translate(Wheel(1, 1.0f));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, 0x20Au);
    EXPECT_EQ(HighWordSigned(messages[0].wParam), 120);
    EXPECT_EQ(messages[0].lParam, 10 | (20 << 16));

    // A flipped (natural scrolling) report is turned back to the physical direction.
    messages = Translate(Wheel(-1, -1.0f, SDL_MOUSEWHEEL_FLIPPED));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(HighWordSigned(messages[0].wParam), 120);

    // A fine wheel's fraction of a notch is passed on as Windows passes high-resolution deltas.
    messages = Translate(Wheel(0, 0.25f));
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(HighWordSigned(messages[0].wParam), 30);

    // Sideways only: WM_MOUSEHWHEEL, positive to the right.
    SDL_Event sideways = Wheel(0, 0.0f);
    sideways.wheel.x = 1;
    sideways.wheel.preciseX = 1.0f;
    messages = Translate(sideways);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].message, 0x20Eu);
    EXPECT_EQ(HighWordSigned(messages[0].wParam), 120);
}

TEST(SdlEventTranslation, OtherEventsGiveNoMessage) {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    EXPECT_TRUE(Translate(event).empty());
    event.type = SDL_TEXTEDITING;
    EXPECT_TRUE(Translate(event).empty());
}
