// headless_png.cpp: writes RGB555 images as PNG files with libpng, for screenshots of the
// headless screen. Without libpng (the Windows build) the writer reports failure.
#include <cstdio>
#include <vector>

#include "platform/headless/headless.h"

#ifdef TLF_HAVE_PNG
#include <png.h>
#endif

bool HeadlessCanWritePng() {
#ifdef TLF_HAVE_PNG
    return true;
#else
    return false;
#endif
}

#ifdef TLF_HAVE_PNG

namespace {

// Widens a 5-bit channel to 8 bits so that 0 stays 0 and 31 becomes 255.
unsigned char Widen5To8(unsigned value) { return static_cast<unsigned char>((value << 3) | (value >> 2)); }

// Writes the rows with libpng into an open file; false on any libpng error.
bool WritePngRows(std::FILE* file, const uint16_t* pixels, int pitch, int width, int height) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (png == nullptr) return false;
    png_infop info = png_create_info_struct(png);
    if (info == nullptr) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    std::vector<unsigned char> row(static_cast<size_t>(width) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, static_cast<png_uint_32>(width), static_cast<png_uint_32>(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < height; ++y) {
        const uint16_t* source =
            reinterpret_cast<const uint16_t*>(reinterpret_cast<const char*>(pixels) + static_cast<size_t>(y) * pitch);
        for (int x = 0; x < width; ++x) {
            row[x * 3 + 0] = Widen5To8((source[x] >> 10) & 0x1F);
            row[x * 3 + 1] = Widen5To8((source[x] >> 5) & 0x1F);
            row[x * 3 + 2] = Widen5To8(source[x] & 0x1F);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return true;
}

}  // namespace

bool WriteRgb555Png(const char* path, const uint16_t* pixels, int pitch, int width, int height) {
    if (path == nullptr || pixels == nullptr || width <= 0 || height <= 0 || pitch < width * 2) return false;
    std::FILE* file = std::fopen(path, "wb");
    if (file == nullptr) return false;
    const bool written = WritePngRows(file, pixels, pitch, width, height);
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) {
        std::remove(path);
        return false;
    }
    return true;
}

#else

bool WriteRgb555Png(const char*, const uint16_t*, int, int, int) { return false; }

#endif
