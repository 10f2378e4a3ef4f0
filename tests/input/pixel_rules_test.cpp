// pixel_rules_test.cpp: every drawing rule - lines solid and dotted in every direction and
// clipped, each rectangle style, the gradients with a fixed and with the background's second
// colour, tint, text on the committed fonts at the edges, each look of a Button - drawn as small
// scenes over a patterned buffer whose rows carry padding, and compared pixel for pixel (padding,
// results and changed area included) with tests/input/pixel_rules.txt. When a change of a rule is
// meant, run with TLF_UPDATE_PIXEL_RULES=1 to rewrite that file, and look at its diff.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/folder_path.h"
#include "framework/framework_state.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "tools/wizard_driver/framework_reset.h"
#include "tools/wizard_driver/scratch_files.h"

namespace {

struct Scene {
    const char* name;
    int width, height;
    std::function<void()> draw;
};

std::string gResults;
void R(int32_t result) { gResults += std::to_string(result) + " "; }

void DrawButtonAt(int x, int y, int width, const char* label, int32_t action, bool pressed) {
    Button* b = CreateButton(static_cast<int16_t>(x), static_cast<int16_t>(y), static_cast<int16_t>(width), 20, label, action, 0, ColourBlue);
    b->pressed = pressed;
    DrawButton(b);
    DeleteButton(b);
}

const Scene kScenes[] = {
    {"solid lines", 24, 14, [] {
         R(DrawLine(0, 5, 30, 5, LineSolid, ColourBlue));
         R(DrawLine(3, -5, 9, -20, LineSolid, ColourWhite));
         R(DrawLine(40, 2, 30, 4, LineSolid, ColourWhite));
         R(DrawLine(0, 0, 4, 2, LineSolid, ColourWhite));
         R(DrawLine(9, 2, 5, 0, LineSolid, ColourBlack));
         R(DrawLine(0, 7, 2, 11, LineSolid, ColourWhite));
         R(DrawLine(5, 13, 9, 11, LineSolid, ColourHeadingYellow));
         R(DrawLine(14, 8, 44, 38, LineSolid, ColourWhite));
     }},
    {"dotted lines", 24, 14, [] {
         R(DrawLine(0, 1, 11, 1, LineDotted, ColourWhite));
         R(DrawLine(20, 3, 4, 3, LineDotted, ColourWhite));
         R(DrawLine(22, 0, 22, 13, 0xFFFE, ColourBlue));
         R(DrawLine(-3, -3, 13, 13, LineDotted, ColourBlack));
     }},
    {"outlines and fills", 24, 14, [] {
         R(DrawRect(0, 0, 13, 9, RectDottedOutline, ColourWhite, RectKeepBackground));
         R(DrawRect(15, 1, 22, 4, RectSolidOutline, ColourBlack, RectKeepBackground));
         R(DrawRect(16, 6, 20, 12, RectSolidOutline | RectDottedOutline, ColourBlue, RectKeepBackground));
         R(DrawRect(2, 11, 5, 12, RectFill | RectGradientRightToLeft, ColourHeadingYellow, ColourWhite));
         R(DrawRect(30, 30, 22, 12, RectFill, ColourDarkGrey, 0));
     }},
    {"fill to the padding", 5, 3, [] { R(DrawRect(-10, -10, 50, 50, RectFill, ColourHeadingYellow, RectKeepBackground)); }},
    {"gradients", 24, 14, [] {
         R(DrawRect(0, 0, 4, 3, RectGradientLeftToRight, ColourBlack, ColourWhite));
         R(DrawRect(5, 0, 11, 3, RectGradientRightToLeft, ColourBlue, ColourHeadingYellow));
         R(DrawRect(12, 0, 15, 6, RectGradientTopToBottom, ColourBlack, ColourWhite));
         R(DrawRect(16, 0, 23, 6, RectGradientBottomToTop, 0x7c00, 0x03e0));
         R(DrawRect(-6, 5, 9, 30, RectGradientLeftToRight, ColourButtonFace, 0x4321));
         R(DrawRect(10, 8, 10, 13, RectGradientLeftToRight, ColourBlack, ColourWhite));
         R(DrawRect(12, 9, 23, 9, RectGradientTopToBottom, ColourWhite, ColourBlack));
     }},
    {"gradients over the background", 24, 14, [] {
         R(DrawRect(0, 0, 11, 6, RectGradientLeftToRight, ColourBlack, RectKeepBackground));
         R(DrawRect(12, 0, 23, 6, RectGradientRightToLeft, ColourWhite, RectKeepBackground));
         R(DrawRect(0, 7, 11, 13, RectGradientTopToBottom, ColourBlue, RectKeepBackground));
         R(DrawRect(12, 7, 30, 20, RectGradientBottomToTop, ColourBlack, RectKeepBackground));
     }},
    {"tint", 24, 14, [] {
         R(DrawRect(2, 2, 40, 9, RectTint, ColourWhite, RectKeepBackground));
         R(DrawRect(-4, 6, 8, 13, RectTint, ColourBlack, RectKeepBackground));
     }},
    {"closed graphics", 24, 4, [] {
         gFramework.graphicsOpening = 1;
         R(DrawLine(0, 0, 15, 11, LineSolid, ColourWhite));
         R(DrawLine(0, 3, 15, 3, LineDotted, ColourWhite));
         for (uint16_t style : {1, 2, 4, 8, 16, 32, 64, 128}) R(DrawRect(0, 0, 15, 11, style, ColourWhite, 0));
         R(DrawText(0, 0, 1, ColourWhite, "closed"));
         gFramework.graphicsOpening = 0;
     }},
    {"text", 60, 40, [] {
         R(DrawText(-3, 2, 1, ColourBlack, "Ag\xe9W\x01j"));
         R(DrawText(40, 12, 2, ColourHeadingYellow, "Wide text"));
         R(DrawText(5, 28, 5, ColourWhite, "\xc5ngstr\xf6m"));
         R(DrawText(2, -9, 0, ColourBlue, "top"));
         R(DrawText(30, 30, 9, ColourBlue, "no font"));
         R(DrawText(30, 30, 1, ColourBlue, nullptr));
         R(TextWidth(1, "Ag\xe9W\x01j"));
         R(TextWidth(5, "\xc5ngstr\xf6m"));
     }},
    {"buttons", 120, 48, [] {
         // The unpressed looks (plain, inert, text field, label) are the golden pages' part.
         DrawButtonAt(60, 2, 50, "Next >", 1, true);
         DrawButtonAt(60, 26, 20, "Far too wide a caption", 1, false);
         DrawButtonAt(2, 2, 50, "", ActionInert, true);
     }},
};

// The scene drawn over a pattern, as text: results, changed area, then each row with padding.
std::string Draw(const Scene& scene, Font** fonts) {
    const int stride = (2 * scene.width + 3) / 4 * 2;
    std::vector<uint16_t> pixels(static_cast<size_t>(stride) * scene.height);
    for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint16_t>((i * 1237 + 11) & 0x7fff);
    ResetFrameworkAndBackend();
    gFramework.frameBuffer = pixels.data();
    gFramework.pitch = stride * 2;
    gFramework.screenWidth = static_cast<int16_t>(scene.width);
    gFramework.screenHeight = static_cast<int16_t>(scene.height);
    gFramework.fontTable = fonts;
    gResults.clear();
    scene.draw();
    const DirtyRect d = gFramework.dirtyRect;
    std::ostringstream out;
    out << "results " << gResults << "changed " << d.x0 << " " << d.x1 << " " << d.y0 << " " << d.y1 << "\n";
    char hex[6];
    for (int y = 0; y < scene.height; ++y) {
        for (int x = 0; x < stride; ++x) out << (std::snprintf(hex, sizeof hex, "%04x ", pixels[y * stride + x]), hex);
        out << "\n";
    }
    gFramework.fontTable = nullptr;
    gFramework.frameBuffer = nullptr;
    return out.str();
}

TEST(PixelRules, EverySceneIsDrawnAsRecorded) {
    Font* fonts[FontSlotCount] = {};
    {
        ScopedCurrentFolder inFonts(CommittedFontFolder());
        FolderPath folder;
        gFramework.fontTable = fonts;
        for (int slot = 0; slot < FontSlotCount; ++slot) ASSERT_EQ(LoadFont(&folder, slot), FontLoaded) << slot;
    }
    const std::string path = SourcePath("tests/input/pixel_rules.txt");
    std::map<std::string, std::string> recorded;
    std::ifstream in(path);
    std::string line, name;
    while (std::getline(in, line)) {
        if (!line.empty() && line[0] == '[') {
            name = line.substr(1, line.size() - 2);
        } else {
            recorded[name] += line + "\n";
        }
    }
    std::string all;
    for (const Scene& scene : kScenes) {
        const std::string drawn = Draw(scene, fonts);
        all += std::string("[") + scene.name + "]\n" + drawn;
        int differing = 0;
        std::istringstream a(drawn), b(recorded[scene.name]);
        for (std::string x, y; a >> x;) differing += !(b >> y) || x != y;
        EXPECT_EQ(differing, 0) << "scene \"" << scene.name << "\": " << differing << " values differ from " << path
                                << " (if meant, rerun with TLF_UPDATE_PIXEL_RULES=1)";
    }
    gFramework.fontTable = fonts;
    for (int slot = 0; slot < FontSlotCount; ++slot) FreeFont(slot);
    gFramework.fontTable = nullptr;
    if (std::getenv("TLF_UPDATE_PIXEL_RULES") != nullptr) std::ofstream(path, std::ios::binary) << all;
}

}  // namespace
