// make_artwork.cpp: turns the program's pixel art (data/artwork/*.art) into the Windows cursor
// and icon files that platform/win32/resources.rc compiles into the program, and into the pixel
// arrays of the SDL cursors. A build-machine tool; its outputs are committed, so the build never
// needs it. The output is the same, byte for byte, on every run.
//
//   make_artwork <artwork folder> <output folder>
//
// reads arrow.art, busy.art, hand.art, icon_32.art, icon_32_mono.art, icon_16.art, update_32.art
// and update_32_mono.art and writes arrow.cur, busy.cur, hand.cur (cursor groups 101-103),
// program.ico (icon group 100: 32 x 32 in 16 colours, 32 x 32 in 2, 16 x 16 in 16), update.ico
// (icon group 104: 32 x 32 in 16 and in 2 colours) and cursor_pixels.h.
//
// The .art format is text. Lines starting with ';' are comments. Then:
//   size <width> <height>
//   hotspot <x> <y>                 cursors only
//   bits <1 or 4>                   colour depth of the Windows image
//   colour <character> <rrggbb>     one line per colour, in palette order; or
//   colour <character> transparent
//   pixels                          followed by <height> rows of <width> characters
// A 1-bit image has exactly the colours black (index 0) and white (index 1); a 4-bit image has
// at most 16, and black first when it has transparent pixels (they are black under the mask).
// Exit status: 0 done, 1 an input is wrong or an output cannot be written, 2 wrong use.
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Art {
    std::string name;
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    int bits = 0;
    std::vector<uint32_t> palette;   // 0xRRGGBB, in index order
    std::vector<int> indices;        // per pixel: palette index, or -1 for transparent
};

bool Fail(const std::string& message) {
    std::fprintf(stderr, "make_artwork: %s\n", message.c_str());
    return false;
}

bool ReadArt(const std::string& path, Art& art) {
    std::ifstream in(path);
    if (!in) return Fail("cannot read " + path);
    art.name = path;
    std::map<char, int> colourOf;  // character -> palette index or -1
    std::string line;
    bool inPixels = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (inPixels) {
            if (static_cast<int>(art.indices.size()) == art.width * art.height) {
                if (line.empty()) continue;
                return Fail(path + ": more rows than its size");
            }
            if (static_cast<int>(line.size()) != art.width) return Fail(path + ": a row of the wrong width: " + line);
            for (char c : line) {
                auto found = colourOf.find(c);
                if (found == colourOf.end()) return Fail(path + ": character without a colour: " + std::string(1, c));
                art.indices.push_back(found->second);
            }
            continue;
        }
        if (line.empty() || line[0] == ';') continue;
        std::istringstream words(line);
        std::string key;
        words >> key;
        if (key == "size") {
            words >> art.width >> art.height;
        } else if (key == "hotspot") {
            words >> art.hotX >> art.hotY;
        } else if (key == "bits") {
            words >> art.bits;
        } else if (key == "colour") {
            std::string character, value;
            words >> character >> value;
            if (character.size() != 1) return Fail(path + ": a colour needs one character");
            if (value == "transparent") {
                colourOf[character[0]] = -1;
            } else {
                colourOf[character[0]] = static_cast<int>(art.palette.size());
                art.palette.push_back(static_cast<uint32_t>(std::stoul(value, nullptr, 16)));
            }
        } else if (key == "pixels") {
            inPixels = true;
        } else {
            return Fail(path + ": unknown line: " + line);
        }
        if (words.fail()) return Fail(path + ": cannot read: " + line);
    }
    if (art.width <= 0 || art.height <= 0 || art.width > 255 || art.height > 255) return Fail(path + ": bad size");
    if (static_cast<int>(art.indices.size()) != art.width * art.height) return Fail(path + ": too few rows");
    if (art.bits != 1 && art.bits != 4) return Fail(path + ": bits must be 1 or 4");
    if (static_cast<int>(art.palette.size()) > (1 << art.bits)) return Fail(path + ": too many colours");
    if (art.bits == 1 && (art.palette.size() != 2 || art.palette[0] != 0 || art.palette[1] != 0xFFFFFF)) {
        return Fail(path + ": a 1-bit image has the colours black and white, in that order");
    }
    bool transparent = false;
    for (int index : art.indices) transparent = transparent || index < 0;
    if (transparent && art.palette[0] != 0) return Fail(path + ": the first colour must be black");
    return true;
}

void Put16(std::vector<uint8_t>& out, uint32_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One image as Windows stores it in .ico and .cur files: a BITMAPINFOHEADER of twice the
// height, the palette, the colour bits and the transparency mask, both rows bottom-up and
// padded to 32 bits. Transparent pixels are index 0 (black) under a set mask bit.
std::vector<uint8_t> ImageData(const Art& art) {
    const int colourRow = (art.width * art.bits + 31) / 32 * 4;
    const int maskRow = (art.width + 31) / 32 * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(art.width));
    Put32(out, static_cast<uint32_t>(art.height * 2));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(art.bits));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>((colourRow + maskRow) * art.height));
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    Put32(out, 0);
    for (int i = 0; i < (1 << art.bits); ++i) {
        const uint32_t rgb = i < static_cast<int>(art.palette.size()) ? art.palette[i] : 0;
        out.push_back(static_cast<uint8_t>(rgb));
        out.push_back(static_cast<uint8_t>(rgb >> 8));
        out.push_back(static_cast<uint8_t>(rgb >> 16));
        out.push_back(0);
    }
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(colourRow), 0);
        for (int x = 0; x < art.width; ++x) {
            const int index = art.indices[static_cast<size_t>(y * art.width + x)];
            const int value = index < 0 ? 0 : index;
            if (art.bits == 1) {
                if (value != 0) row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            } else {
                row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? value << 4 : value);
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = art.height - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(maskRow), 0);
        for (int x = 0; x < art.width; ++x) {
            if (art.indices[static_cast<size_t>(y * art.width + x)] < 0) {
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

// An .ico (type 1) or .cur (type 2) file: the directory, then each image. A cursor's directory
// entry holds its hot spot where an icon's holds planes and bit count.
std::vector<uint8_t> IconFile(const std::vector<Art>& images, bool cursor) {
    std::vector<uint8_t> out;
    Put16(out, 0);
    Put16(out, cursor ? 2 : 1);
    Put16(out, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    std::vector<uint8_t> data;
    for (const Art& art : images) {
        const std::vector<uint8_t> image = ImageData(art);
        out.push_back(static_cast<uint8_t>(art.width));
        out.push_back(static_cast<uint8_t>(art.height));
        out.push_back(static_cast<uint8_t>(1 << art.bits));
        out.push_back(0);
        Put16(out, cursor ? static_cast<uint32_t>(art.hotX) : 1);
        Put16(out, cursor ? static_cast<uint32_t>(art.hotY) : static_cast<uint32_t>(art.bits));
        Put32(out, static_cast<uint32_t>(image.size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(image.size());
        data.insert(data.end(), image.begin(), image.end());
    }
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) return Fail("cannot write " + path);
    return true;
}

bool WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    return WriteFile(path, std::string(bytes.begin(), bytes.end()));
}

// The three cursors as 0xAARRGGBB arrays for SDL_CreateColorCursor.
std::string CursorHeader(const Art& arrow, const Art& busy, const Art& hand) {
    std::ostringstream out;
    out << "// cursor_pixels.h: the program's three cursors as ARGB pixels, for the SDL backend\n"
           "// (platform/sdl/sdl_cursor.cpp). Made by tools/make_artwork from data/artwork/*.art, like\n"
           "// the Windows cursor files; do not edit.\n"
           "#pragma once\n\n#include <cstdint>\n\n"
           "// Pixels are 0xAARRGGBB, rows top to bottom; alpha 0 is transparent.\n"
           "struct CursorPixels {\n    int resourceId;\n    int width;\n    int height;\n"
           "    int hotX;\n    int hotY;\n    const uint32_t* pixels;\n};\n";
    const struct {
        const Art* art;
        const char* name;
        int id;
    } cursors[] = {{&arrow, "kArrowCursorPixels", 101}, {&busy, "kBusyCursorPixels", 102}, {&hand, "kHandCursorPixels", 103}};
    for (const auto& cursor : cursors) {
        const Art& art = *cursor.art;
        out << "\nstatic const uint32_t " << cursor.name << "[" << art.width * art.height << "] = {\n";
        for (int y = 0; y < art.height; ++y) {
            out << "   ";
            for (int x = 0; x < art.width; ++x) {
                const int index = art.indices[static_cast<size_t>(y * art.width + x)];
                const uint32_t argb = index < 0 ? 0 : 0xFF000000u | art.palette[static_cast<size_t>(index)];
                char word[16];
                std::snprintf(word, sizeof word, " 0x%08x,", static_cast<unsigned>(argb));
                out << word;
            }
            out << "\n";
        }
        out << "};\n";
    }
    out << "\nstatic const CursorPixels kCursorPixels[3] = {\n";
    for (const auto& cursor : cursors) {
        out << "    {" << cursor.id << ", " << cursor.art->width << ", " << cursor.art->height << ", " << cursor.art->hotX
            << ", " << cursor.art->hotY << ", " << cursor.name << "},\n";
    }
    out << "};\n";
    return out.str();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: make_artwork <artwork folder> <output folder>\n");
        return 2;
    }
    const std::string in = std::string(argv[1]) + "/";
    const std::string out = std::string(argv[2]) + "/";
    const char* names[] = {"arrow", "busy", "hand", "icon_32", "icon_32_mono", "icon_16", "update_32", "update_32_mono"};
    std::map<std::string, Art> art;
    for (const char* name : names) {
        if (!ReadArt(in + name + ".art", art[name])) return 1;
    }
    for (const char* cursor : {"arrow", "busy", "hand"}) {
        const Art& image = art[cursor];
        if (image.width != 32 || image.height != 32) return Fail(std::string(cursor) + ": cursors are 32 x 32"), 1;
        if (!WriteFile(out + cursor + ".cur", IconFile({image}, true))) return 1;
    }
    if (!WriteFile(out + "program.ico", IconFile({art["icon_32"], art["icon_32_mono"], art["icon_16"]}, false))) return 1;
    if (!WriteFile(out + "update.ico", IconFile({art["update_32"], art["update_32_mono"]}, false))) return 1;
    if (!WriteFile(out + "cursor_pixels.h", CursorHeader(art["arrow"], art["busy"], art["hand"]))) return 1;
    return 0;
}
