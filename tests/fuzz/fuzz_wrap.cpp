// fuzz_wrap.cpp: AddWrappedText with random texts, widths, positions and start slots into the
// ten slots of a page, with the real caption font.
//
// Promises checked: nothing is written outside the ten slots (they lie in a heap block of
// exactly ten, so AddressSanitizer sees any overflow); count and y advance by 1 and 17 per line;
// every line is non-empty, starts with no space, and is narrower than maxWidth unless it is one
// byte of a word too wide for any line; when every line found room, the lines hold every
// non-space byte of the text in order. The lines are then drawn.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdlib>
#include <string>
#include <unistd.h>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "framework/framework_state.h"
#include "gfx/button.h"
#include "gfx/font.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int kSlots = 10;

void OpenGraphicsWithTheCaptionFont() {
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    if (AllocateFrameBuffer(550, 350) != 0) std::abort();
    gFramework.fontTable = static_cast<Font**>(std::calloc(FontSlotCount, sizeof(Font*)));
    if (gFramework.fontTable == nullptr || chdir(FuzzFontFolder().c_str()) != 0) std::abort();
    FolderPath fonts;
    if (LoadFont(&fonts, ButtonFontIndex) != FontLoaded) std::abort();
}

std::string WithoutSpaces(const std::string& text) {
    std::string kept;
    for (char c : text) {
        if (c != ' ') kept += c;
    }
    return kept;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (OpenGraphicsWithTheCaptionFont(), true);
    (void)ready;

    FuzzedDataProvider input(data, size);
    const int16_t start = input.ConsumeIntegralInRange<int16_t>(-2, kSlots + 1);
    int16_t y = input.ConsumeIntegral<int16_t>();
    const int16_t x = input.ConsumeIntegral<int16_t>();
    const int16_t maxWidth = input.ConsumeBool() ? input.ConsumeIntegralInRange<int16_t>(-20, 600)
                                                 : input.ConsumeIntegral<int16_t>();
    const std::string text = input.ConsumeRemainingBytesAsString().c_str();

    Button** slots = new Button*[kSlots]();
    int16_t count = start;
    const int16_t startY = y;
    AddWrappedText(slots, kSlots, count, y, x, maxWidth, text.c_str());

    const int lines = count - start;
    FUZZ_CHECK(lines >= 0, "count never goes back");
    if (start < 0 || start >= kSlots) FUZZ_CHECK(lines == 0, "no line without a slot");
    FUZZ_CHECK(y == static_cast<int16_t>(startY + 17 * lines), "y advances by 17 per line");
    std::string joined;
    for (int i = 0; i < kSlots; ++i) {
        const bool made = i >= start && i < count;
        FUZZ_CHECK((slots[i] != nullptr) == made, "lines go to slots count, count + 1, ... only");
        if (!made) continue;
        const Button& line = *slots[i];
        const std::string label = line.label;
        FUZZ_CHECK(!label.empty() && label[0] != ' ', "a line is not empty and starts with no space");
        FUZZ_CHECK(line.action == ActionLabel && line.x == x && line.y == static_cast<int16_t>(startY + 17 * (i - start)),
                   "a line is a text label at its place");
        FUZZ_CHECK(TextWidth(ButtonFontIndex, label.c_str()) < maxWidth || label.size() == 1 ||
                       label.find(' ') == std::string::npos,
                   "a line is narrower than maxWidth unless it is part of a word too wide for any line");
        DrawButton(&line);
        joined += label;
    }
    if (count < kSlots && start >= 0 && start < kSlots) {
        FUZZ_CHECK(WithoutSpaces(joined) == WithoutSpaces(text), "every word of the text is placed, in order");
    }
    for (int i = 0; i < kSlots; ++i) DeleteButton(slots[i]);
    delete[] slots;
    return 0;
}
