// The cursor and icon files the Windows program carries, and the SDL cursor pixels: every file
// has the sizes, colour depths and hot spots the MOUSE and the window rely on, the SDL pixels show
// the same pictures as the Windows cursors, and the committed files are what the tool makes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "data/artwork/cursor_pixels.h"
#include "tests/support/test_files.h"

namespace {

const std::string kArtwork = std::string(TLF_SOURCE_DIR) + "/data/artwork/";

uint32_t Read16(const std::vector<unsigned char>& b, size_t at) { return b.at(at) | b.at(at + 1) << 8; }
uint32_t Read32(const std::vector<unsigned char>& b, size_t at) { return Read16(b, at) | Read16(b, at + 2) << 16; }

// One image of an .ico or .cur file, as its directory entry and bitmap header describe it.
struct Image {
    int width, height, colourCount, hotX, hotY;  // hot spot: cursors only
    int bitCount;                                // from the bitmap header
    std::vector<uint32_t> argb;                  // decoded, rows top to bottom; alpha 0 = transparent
};

// Reads every image of an icon (type 1) or cursor (type 2) file, checking its structure.
std::vector<Image> ReadIconFile(const std::string& path, int type) {
    std::vector<unsigned char> bytes;
    EXPECT_TRUE(ReadFileBytes(path, &bytes)) << path;
    std::vector<Image> images;
    if (bytes.size() < 6) return images;
    EXPECT_EQ(Read16(bytes, 0), 0u);
    EXPECT_EQ(Read16(bytes, 2), static_cast<uint32_t>(type));
    const uint32_t count = Read16(bytes, 4);
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = 6 + 16 * i;
        Image image{};
        image.width = bytes.at(entry);
        image.height = bytes.at(entry + 1);
        image.colourCount = bytes.at(entry + 2);
        if (type == 2) {
            image.hotX = static_cast<int>(Read16(bytes, entry + 4));
            image.hotY = static_cast<int>(Read16(bytes, entry + 6));
        }
        const uint32_t size = Read32(bytes, entry + 8);
        const uint32_t offset = Read32(bytes, entry + 12);
        EXPECT_LE(static_cast<size_t>(offset) + size, bytes.size()) << path;
        EXPECT_EQ(Read32(bytes, offset), 40u);
        EXPECT_EQ(Read32(bytes, offset + 4), static_cast<uint32_t>(image.width));
        EXPECT_EQ(Read32(bytes, offset + 8), static_cast<uint32_t>(image.height * 2));
        image.bitCount = static_cast<int>(Read16(bytes, offset + 14));
        // Decode: palette, colour rows and mask rows, both bottom-up and 32-bit aligned.
        const size_t palette = offset + 40;
        const size_t colours = palette + 4 * (size_t{1} << image.bitCount);
        const size_t colourRow = (image.width * image.bitCount + 31) / 32 * 4;
        const size_t mask = colours + colourRow * image.height;
        const size_t maskRow = (image.width + 31) / 32 * 4;
        EXPECT_EQ(mask + maskRow * image.height, static_cast<size_t>(offset) + size) << path;
        if (mask + maskRow * image.height > bytes.size()) return images;
        for (int y = 0; y < image.height; ++y) {
            const size_t row = static_cast<size_t>(image.height - 1 - y);
            for (int x = 0; x < image.width; ++x) {
                const bool transparent = bytes[mask + row * maskRow + x / 8] & (0x80 >> (x % 8));
                int index = 0;
                const unsigned char byte = bytes[colours + row * colourRow + x * image.bitCount / 8];
                index = image.bitCount == 1 ? (byte >> (7 - x % 8)) & 1 : (x % 2 == 0 ? byte >> 4 : byte & 15);
                const size_t entryAt = palette + 4 * static_cast<size_t>(index);
                const uint32_t rgb = bytes[entryAt] | bytes[entryAt + 1] << 8 | bytes[entryAt + 2] << 16;
                image.argb.push_back(transparent ? 0u : 0xFF000000u | rgb);
                // Under the mask the colour must be black, or the screen would show through tinted.
                if (transparent) {
                    EXPECT_EQ(rgb, 0u) << path << " at " << x << "," << y;
                }
            }
        }
        images.push_back(image);
    }
    return images;
}

}  // namespace

TEST(Artwork, TheCursorsAre32By32WithTheHotSpotAtTheTopLeft) {
    const struct {
        const char* file;
        int bits;
    } cursors[] = {{"arrow.cur", 1}, {"busy.cur", 4}, {"hand.cur", 1}};
    for (const auto& cursor : cursors) {
        SCOPED_TRACE(cursor.file);
        const std::vector<Image> images = ReadIconFile(kArtwork + cursor.file, 2);
        ASSERT_EQ(images.size(), 1u);
        EXPECT_EQ(images[0].width, 32);
        EXPECT_EQ(images[0].height, 32);
        EXPECT_EQ(images[0].hotX, 0);
        EXPECT_EQ(images[0].hotY, 0);
        EXPECT_EQ(images[0].bitCount, cursor.bits);
        EXPECT_EQ(images[0].colourCount, 1 << cursor.bits);
    }
}

TEST(Artwork, TheIconsHoldTheirThreeAndTwoImages) {
    const std::vector<Image> program = ReadIconFile(kArtwork + "program.ico", 1);
    ASSERT_EQ(program.size(), 3u);
    const int expected[3][2] = {{32, 4}, {32, 1}, {16, 4}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(program[i].width, expected[i][0]);
        EXPECT_EQ(program[i].bitCount, expected[i][1]);
        EXPECT_EQ(program[i].colourCount, 1 << expected[i][1]);
    }
    EXPECT_EQ(ReadIconFile(kArtwork + "update.ico", 1).size(), 2u);
}

TEST(Artwork, TheSdlCursorsShowTheSamePicturesAsTheWindowsCursors) {
    const char* files[] = {"arrow.cur", "busy.cur", "hand.cur"};
    for (int i = 0; i < 3; ++i) {
        SCOPED_TRACE(files[i]);
        const CursorPixels& sdl = kCursorPixels[i];
        EXPECT_EQ(sdl.resourceId, 101 + i);
        EXPECT_EQ(sdl.hotX, 0);
        EXPECT_EQ(sdl.hotY, 0);
        const std::vector<Image> images = ReadIconFile(kArtwork + files[i], 2);
        ASSERT_EQ(images.size(), 1u);
        ASSERT_EQ(sdl.width * sdl.height, static_cast<int>(images[0].argb.size()));
        int differing = 0;
        for (size_t p = 0; p < images[0].argb.size(); ++p) differing += sdl.pixels[p] != images[0].argb[p];
        EXPECT_EQ(differing, 0);
    }
}

#ifndef _WIN32
// Runs tools/make_artwork into a temporary folder and compares each output with the committed file.
TEST(Artwork, RegeneratingGivesTheCommittedBytes) {
    const std::string tool = std::string(TLF_BINARY_DIR) + "/make_artwork";
    if (!FileExists(tool)) GTEST_SKIP() << "no make_artwork tool at " << tool << " (build the make_artwork target)";
    TempFolder out;
    const std::string command = "'" + tool + "' '" + kArtwork + "' '" + out.path + "' 2> '" + out.Join("log.txt") + "'";
    ASSERT_EQ(0, std::system(command.c_str())) << command;
    for (const char* name : {"arrow.cur", "busy.cur", "hand.cur", "program.ico", "update.ico", "cursor_pixels.h"}) {
        std::vector<unsigned char> made, committed;
        ASSERT_TRUE(ReadFileBytes(out.Join(name), &made)) << name;
        ASSERT_TRUE(ReadFileBytes(kArtwork + name, &committed)) << name;
        EXPECT_TRUE(made == committed) << name << " differs from data/artwork";
    }
}

#endif
