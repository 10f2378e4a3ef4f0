// golden_pages_test.cpp: every page of every state in every language, drawn by the real wizard,
// is pixel for pixel the committed picture in docs/pages (the pictures README shows). A page
// that differs is written to <build>/pages_actual/ for looking at. When a change of the pages is
// meant, redraw the references with `cmake --build --preset linux --target docs_pages` and look
// at the diff. Needs PNG support (the Linux build); the pages are portable code, drawn alike
// under Wine.
#ifdef TLF_HAVE_PNG
#include <gtest/gtest.h>
#include <png.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "framework/framework_state.h"
#include "tools/wizard_driver/page_catalogue.h"

namespace {

// The picture as 15-bit colours, as the writer widened them by bit replication.
bool ReadPng(const std::string& path, std::vector<uint16_t>* pixels, int* width, int* height) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    std::vector<unsigned char> rgb(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) return false;
    *width = static_cast<int>(image.width), *height = static_cast<int>(image.height);
    for (size_t i = 0; i + 2 < rgb.size(); i += 3) pixels->push_back(static_cast<uint16_t>((rgb[i] >> 3) << 10 | (rgb[i + 1] >> 3) << 5 | rgb[i + 2] >> 3));
    return true;
}

TEST(GoldenPages, EveryPageMatchesDocsPages) {
    const std::string actualFolder = std::string(TLF_BINARY_DIR) + "/pages_actual";
    std::filesystem::create_directories(actualFolder);
    int pages = 0;
    const bool reached = RenderEveryPage([&](const std::string& name) {
        ++pages;
        const std::string reference = std::string(TLF_SOURCE_DIR) + "/docs/pages/" + name + ".png";
        std::vector<uint16_t> expected;
        int width = 0, height = 0, differing = 0;
        const bool sameSize = ReadPng(reference, &expected, &width, &height) && width == gFramework.screenWidth && height == gFramework.screenHeight;
        for (int y = 0; sameSize && y < height; ++y)
            for (int x = 0; x < width; ++x) differing += (gFramework.frameBuffer[y * (gFramework.pitch / 2) + x] & 0x7fff) != expected[y * width + x];
        if (sameSize && differing == 0) return;
        WriteFrameBufferPng(actualFolder, name);
        ADD_FAILURE() << "page " << name << ": " << (sameSize ? std::to_string(differing) + " pixels differ from " : "cannot read or another size: ")
                      << reference << "; drawn now: " << actualFolder << "/" << name << ".png (if meant: cmake --build --preset linux --target docs_pages)";
    });
    EXPECT_TRUE(reached) << "a page could not be reached";
    EXPECT_EQ(pages, 77);
}

}  // namespace
#endif  // TLF_HAVE_PNG
