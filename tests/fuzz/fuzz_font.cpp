// fuzz_font.cpp: any bytes as a .fnt file, loaded into a slot, then measured and drawn.
//
// Input: a random text (up to 64 bytes), a pen position, then the rest as the font file. The
// loader must refuse what it cannot draw safely; a font it accepts must measure and draw any
// text anywhere without touching memory outside its bitmaps and the frame buffer, and measure
// no text as narrower than nothing.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>

#include "framework/display.h"
#include "framework/folder_path.h"
#include "framework/framework_state.h"
#include "gfx/font.h"
#include "tests/fuzz/fuzz_support.h"

namespace {

constexpr int kSlot = 0;  // "arial_narrow_10.fnt" in the scratch folder

void OpenFrameBufferAndFontTable() {
    FuzzEnterScratchFolder();
    gFramework.dirtyRect = DirtyRect{-1, -1, -1, -1};
    if (AllocateFrameBuffer(550, 350) != 0) std::abort();
    gFramework.fontTable = static_cast<Font**>(std::calloc(FontSlotCount, sizeof(Font*)));
    if (gFramework.fontTable == nullptr) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = (OpenFrameBufferAndFontTable(), true);
    (void)ready;

    FuzzedDataProvider input(data, size);
    const std::string text = input.ConsumeRandomLengthString(64);
    const int16_t x = input.ConsumeIntegral<int16_t>();
    const int16_t y = input.ConsumeIntegral<int16_t>();
    const std::vector<uint8_t> file = input.ConsumeRemainingBytes<uint8_t>();
    FUZZ_CHECK(WriteFileBytes(FuzzScratchPath(FontFileNames[kSlot]), file), "write the font file");

    FolderPath folder;
    const int loaded = LoadFont(&folder, kSlot);
    FUZZ_CHECK(loaded == FontLoaded || loaded == FontFileDamaged, "a readable file loads or is damaged");
    FUZZ_CHECK((loaded == FontLoaded) == (gFramework.fontTable[kSlot] != nullptr), "a failed load leaves the slot empty");
    if (loaded != FontLoaded) return 0;

    FUZZ_CHECK(FontHeight(kSlot) >= 1 && FontHeight(kSlot) <= FontMaxHeight, "height within the loader's limits");
    const int32_t width = TextWidth(kSlot, text.c_str());
    FUZZ_CHECK(width >= 0, "no text is narrower than nothing");
    for (size_t i = 0; i <= text.size(); ++i) {
        FUZZ_CHECK(CharacterGap(kSlot, text.c_str(), static_cast<int>(i)) >= 0, "gaps are never negative");
    }
    FUZZ_CHECK(DrawText(x, y, kSlot, 0x7fff, text.c_str()) == 0, "drawing with a loaded font succeeds");
    // The same text at the origin, where most of it lands inside the frame buffer.
    FUZZ_CHECK(DrawText(0, 0, kSlot, 0x1234, text.c_str()) == 0, "drawing at the origin succeeds");
    FreeFont(kSlot);
    return 0;
}
