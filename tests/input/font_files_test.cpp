// font_files_test.cpp: loading .fnt files into the font slots: a table of files, each whole,
// cut short (the shipped fonts too) or with a field out of range, and what the loader answers and
// leaves in the slot.
// What loaded fonts draw is the pixel rules' part (pixel_rules_test.cpp).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "framework/folder_path.h"
#include "framework/framework_state.h"
#include "gfx/font.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

// A font of `height` rows: every code width 1 without bitmap, but 'A' (width 3, two bytes a row,
// insets 1 and 2). `field` (0 width, 1 bytesPerRow, 2 leftInset, 3 rightInset) of `code`, or the
// height itself for code 0, is replaced by `value`; `cut` bytes are taken off the end.
std::vector<uint8_t> FontFile(int32_t height, int code, int field, int32_t value, size_t cut = 0) {
    std::vector<uint8_t> bytes;
    auto put = [&](int32_t v) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(v) >> shift));
    };
    put(code == 0 ? value : height);
    for (int c = 32; c <= 255; ++c) {
        int32_t fields[4] = {c == 'A' ? 3 : 1, c == 'A' ? 2 : 0, c == 'A' ? 1 : 0, c == 'A' ? 2 : 0};
        if (c == code) fields[field] = value;
        for (int32_t f : fields) put(f);
        if (c == 'A') bytes.insert(bytes.end(), static_cast<size_t>(height) * 2, 0x5F);
    }
    bytes.resize(bytes.size() - cut);
    return bytes;
}

TEST(FontFiles, WholeFilesLoadAndDamagedOnesLeaveTheSlotEmpty) {
    const size_t whole = FontFile(3, -1, 0, 0).size();
    struct Case {
        const char* what;
        std::vector<uint8_t> file;
        int result;
    };
    std::vector<Case> cases = {
        {"the test font", FontFile(3, -1, 0, 0), FontLoaded},
        {"bytes after the last entry", [] { auto f = FontFile(3, -1, 0, 0); f.push_back(7); return f; }(), FontLoaded},
        {"the highest height", FontFile(FontMaxHeight, -1, 0, 0), FontLoaded},
        {"the widest glyph", FontFile(3, 'B', 0, FontMaxGlyphWidth), FontLoaded},
        {"the lowest inset", FontFile(3, 'B', 2, -FontMaxGlyphWidth), FontLoaded},
        {"zero height", FontFile(0, 0, 0, 0), FontFileDamaged},
        {"negative height", FontFile(3, 0, 0, -3), FontFileDamaged},
        {"height over the limit", FontFile(FontMaxHeight + 1, -1, 0, 0), FontFileDamaged},
        {"width over the limit", FontFile(3, 'B', 0, FontMaxGlyphWidth + 1), FontFileDamaged},
        {"negative width", FontFile(3, 'B', 0, -1), FontFileDamaged},
        {"bytesPerRow narrower than the width", FontFile(3, 'A', 1, 1), FontFileDamaged},
        {"inset beyond the limit", FontFile(3, 'B', 3, FontMaxGlyphWidth + 1), FontFileDamaged},
        {"negative inset beyond the limit", FontFile(3, 'B', 2, -FontMaxGlyphWidth - 1), FontFileDamaged},
    };
    for (size_t cut : {whole, whole - 1, whole - 4, whole - 6, size_t{4}, size_t{1}}) {
        cases.push_back({"cut", FontFile(3, -1, 0, 0, cut), FontFileDamaged});
    }
    for (const char* name : FontFileNames) {  // each shipped font cut halfway and inside its last bitmap
        std::vector<uint8_t> file;
        ASSERT_TRUE(ReadFileBytes(SourcePath(std::string("data/fonts/") + name), &file));
        for (size_t keep : {file.size() / 2, file.size() - 1}) cases.push_back({name, {file.begin(), file.begin() + keep}, FontFileDamaged});
    }
    TempFolder folder;
    ScopedCurrentFolder here(folder.path);
    Font* table[FontSlotCount] = {};
    gFramework.fontTable = table;
    FolderPath path;
    for (const Case& c : cases) {
        ASSERT_TRUE(WriteFileBytes(FontFileNames[3], c.file));
        EXPECT_EQ(LoadFont(&path, 3), c.result) << c.what << ", " << c.file.size() << " bytes";
        EXPECT_EQ(table[3] != nullptr, c.result == FontLoaded) << c.what;
        if (table[3] != nullptr) { EXPECT_EQ(table[3]->glyphs[uint8_t{'B'}].bitmap, nullptr) << c.what << ": no bytes, no bitmap"; }
    }
    std::remove(FontFileNames[3]);
    EXPECT_EQ(LoadFont(&path, 3), FontFileNotOpened);
    EXPECT_EQ(table[3], nullptr);
    EXPECT_EQ(LoadFont(&path, FontSlotCount), FontFileNotOpened);
    EXPECT_EQ(LoadFont(&path, -1), FontFileNotOpened);
    gFramework.fontTable = nullptr;
}

}  // namespace
