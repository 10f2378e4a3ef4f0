// headless_script.cpp: the headless backend's scripted message queue and its pump: messages are
// delivered one frame per PlatformPumpMessages, followed by WM_PAINT while the client is invalid.
#include <cstring>

#include "framework/display.h"
#include "platform/headless/headless.h"
#include "platform/headless/headless_state.h"
#include "platform/platform_display.h"

namespace {

const int kVirtualKeyPacket = 0xE7;  // VK_PACKET: a character typed without a key of its own
const uintptr_t kLeftButtonHeld = 1;  // MK_LBUTTON
const intptr_t kKeyDownParam = 1;    // repeat count 1
const intptr_t kKeyUpParam = static_cast<intptr_t>(0xC0000001u);  // previous state down, released

// US-layout keys of the punctuation characters, unshifted and shifted, with their VK_OEM codes.
struct PunctuationKey {
    char plain;
    char shifted;
    int virtualKey;
};
const PunctuationKey kPunctuationKeys[] = {
    {';', ':', 0xBA}, {'=', '+', 0xBB}, {',', '<', 0xBC}, {'-', '_', 0xBD}, {'.', '>', 0xBE}, {'/', '?', 0xBF},
    {'`', '~', 0xC0}, {'[', '{', 0xDB}, {'\\', '|', 0xDC}, {']', '}', 0xDD}, {'\'', '"', 0xDE},
};
const char kShiftedDigits[] = ")!@#$%^&*(";  // Shift + 0 ... Shift + 9

// The key that types a character on a US keyboard.
int VirtualKeyOfCharacter(uint8_t character) {
    if (character >= 'a' && character <= 'z') return character - 'a' + 'A';
    if ((character >= 'A' && character <= 'Z') || (character >= '0' && character <= '9')) return character;
    if (character == ' ' || character == 8 || character == 9 || character == 13 || character == 27) return character;
    for (const PunctuationKey& key : kPunctuationKeys) {
        if (character == static_cast<uint8_t>(key.plain) || character == static_cast<uint8_t>(key.shifted)) {
            return key.virtualKey;
        }
    }
    const char* digit = std::strchr(kShiftedDigits, character);
    if (character != 0 && digit != nullptr) return '0' + static_cast<int>(digit - kShiftedDigits);
    return kVirtualKeyPacket;
}

// The character a key gives without Shift (NumLock on), or 0 for none.
uint8_t CharacterOfVirtualKey(int virtualKey) {
    if (virtualKey == 8 || virtualKey == 9 || virtualKey == 13 || virtualKey == 27 || virtualKey == ' ') {
        return static_cast<uint8_t>(virtualKey);
    }
    if (virtualKey >= 'A' && virtualKey <= 'Z') return static_cast<uint8_t>(virtualKey - 'A' + 'a');
    if (virtualKey >= '0' && virtualKey <= '9') return static_cast<uint8_t>(virtualKey);
    if (virtualKey >= 0x60 && virtualKey <= 0x69) return static_cast<uint8_t>('0' + virtualKey - 0x60);
    switch (virtualKey) {
        case 0x6A: return '*';
        case 0x6B: return '+';
        case 0x6D: return '-';
        case 0x6E: return '.';
        case 0x6F: return '/';
        default: break;
    }
    for (const PunctuationKey& key : kPunctuationKeys) {
        if (key.virtualKey == virtualKey) return static_cast<uint8_t>(key.plain);
    }
    return 0;
}

// Delivers one scripted message; WM_SIZE first resizes the window as the user's resize did.
void DeliverScripted(const HeadlessMessage& m) {
    if (m.message == WindowMessageSize && m.wParam != WindowSizeMinimized) {
        gHeadless.window.maximised = m.wParam == WindowSizeMaximized;
        HeadlessSetClientSize(static_cast<int>(m.lParam & 0xFFFF), static_cast<int>((m.lParam >> 16) & 0xFFFF));
    }
    HeadlessDeliver(m.message, m.wParam, m.lParam);
}

}  // namespace

void HeadlessPostMessage(uint32_t message, uintptr_t wParam, intptr_t lParam) {
    gHeadless.queue.push_back(HeadlessQueued{false, HeadlessMessage{message, wParam, lParam}});
}

void HeadlessEndFrame() { gHeadless.queue.push_back(HeadlessQueued{true, HeadlessMessage{}}); }

int HeadlessQueuedMessageCount() {
    int count = 0;
    for (const HeadlessQueued& entry : gHeadless.queue) count += entry.endOfFrame ? 0 : 1;
    return count;
}

void HeadlessPostMouseMove(int x, int y) { HeadlessPostMessage(WindowMessageMouseMove, 0, PackPointParam(x, y)); }

void HeadlessPostClick(int x, int y) {
    HeadlessPostMessage(WindowMessageMouseMove, 0, PackPointParam(x, y));
    HeadlessPostMessage(WindowMessageLeftButtonDown, kLeftButtonHeld, PackPointParam(x, y));
    HeadlessEndFrame();
    HeadlessPostMessage(WindowMessageLeftButtonUp, 0, PackPointParam(x, y));
    HeadlessEndFrame();
}

void HeadlessPostKeyPress(int virtualKey) {
    HeadlessPostMessage(WindowMessageKeyDown, static_cast<uintptr_t>(virtualKey), kKeyDownParam);
    const uint8_t character = CharacterOfVirtualKey(virtualKey);
    if (character != 0) HeadlessPostMessage(WindowMessageChar, character, kKeyDownParam);
    HeadlessPostMessage(WindowMessageKeyUp, static_cast<uintptr_t>(virtualKey), kKeyUpParam);
    HeadlessEndFrame();
}

void HeadlessPostTypeText(const char* text) {
    if (text == nullptr) return;
    for (const unsigned char* p = reinterpret_cast<const unsigned char*>(text); *p != 0; ++p) {
        const int virtualKey = VirtualKeyOfCharacter(*p);
        HeadlessPostMessage(WindowMessageKeyDown, static_cast<uintptr_t>(virtualKey), kKeyDownParam);
        HeadlessPostMessage(WindowMessageChar, *p, kKeyDownParam);
        HeadlessPostMessage(WindowMessageKeyUp, static_cast<uintptr_t>(virtualKey), kKeyUpParam);
        HeadlessEndFrame();
    }
}

void HeadlessPostClose() {
    HeadlessPostMessage(WindowMessageClose, 0, 0);
    HeadlessEndFrame();
}

int HeadlessPumpCount() { return gHeadless.pumpCount; }
int HeadlessPaintCount() { return gHeadless.paintCount; }

void PlatformPumpMessages() {
    ++gHeadless.pumpCount;
    while (gHeadless.window.exists && !gHeadless.queue.empty()) {
        const HeadlessQueued entry = gHeadless.queue.front();
        gHeadless.queue.pop_front();
        if (entry.endOfFrame) break;
        DeliverScripted(entry.message);
    }
    if (gHeadless.window.exists && gHeadless.window.visible && gHeadless.paintPending) {
        ++gHeadless.paintCount;
        HeadlessDeliver(WindowMessagePaint, 0, 0);
    }
}
