// real_fonts_test.cpp: the seven committed fonts in data/fonts: they load, give the wizard's
// header height, hold a bitmap for every character the wizard's seven languages use, measure
// what they draw, and are exactly what tools/make_fonts.sh makes from the typefaces. Also draws
// the test page (gradient, fonts 1, 2 and 5 in the wizard's colours, every accented letter) and,
// where PNG output exists, saves it as gfx_test_page.png in the build folder for a look.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/folder_path.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "platform/headless/headless.h"
#include "tests/gfx/frame_buffer_fixture.h"
#include "tests/support/test_files.h"

// The wizard's texts. tests_gfx does not link the application, so the one file of text tables
// (plain data, no other dependency) is compiled in here to check the fonts against the very
// bytes the wizard draws.
#include "app/texts.cpp"

namespace {

const std::string kFontFolder = std::string(TLF_SOURCE_DIR) + "/data/fonts";

// The accented letters of the seven languages, as Windows-1252 bytes.
const char kAccentedLetters[] =
    "\341\351\355\363\372\361\277\241\301\311\315\323\332\321"          // Spanish
    "\340\342\347\350\351\352\353\356\357\364\371\373\374\300\302\307\310\311\312"  // French
    "\340\350\351\354\362\371"                                          // Italian
    "\345\346\370\305\306\330"                                          // Norwegian
    "\343\365\347\341\351\355\363\372\342\352\364\303\325\307"          // Portuguese
    "\345\344\366\305\304\326";                                         // Swedish

// Each of them once, with a space between the languages' new letters, for the test page.
const char kAccentedLettersOnce[] =
    "\341\351\355\363\372\361\277\241\301\311\315\323\332\321 \340\342\347\350\352\353\356\357\364\371\373\374"
    "\300\302\307\310\312 \354\362 \345\346\370\305\306\330 \343\365\303\325 \344\366\304\326";

std::vector<const char*> WizardTexts() {
    const LocalisedText* tables[] = {
        &ReadmeFileName,         &LanguageButtonText,     &BackLabel,         &NextLabel,
        &FinishLabel,            &ExitLabel,              &YesLabel,          &NoLabel,
        &SourceMissingText,      &ClickNextToContinueText, &WindowTitle,      &NotInstalledText,
        &ReinstallText,          &InstalledVersionCaption, &NewVersionCaption, &ClickNextToUpdateText,
        &NotCompatibleText,      &UpdatingText,           &CompletedText,     &InstallCorruptText,
        &PackageCorruptText,     &QuickStartOutdatedText, &DeleteQuickStartQuestion, &FolderPromptText,
        &WriteFailedText,
    };
    std::vector<const char*> texts = {NewVersionText, ReleaseVersionName, ReleaseVersionText, kAccentedLetters};
    for (const LocalisedText* table : tables)
        for (int language = 0; language < LanguageCount; ++language) texts.push_back((*table)[language]);
    return texts;
}

class RealFontsTest : public FrameBufferTest {
public:
    void SetUp() override {
        FrameBufferTest::SetUp();
        UseBuffer(550, 350);
        ScopedCurrentFolder here(kFontFolder);
        FolderPath folder;
        for (int slot = 0; slot < FontSlotCount; ++slot)
            ASSERT_EQ(0, LoadFont(&folder, slot)) << FontFileNames[slot] << " in " << kFontFolder;
    }
    const Font& FontOf(int slot) { return *gFramework.fontTable[slot]; }
};

TEST_F(RealFontsTest, HeightsFitTheWizardLayout) {
    EXPECT_EQ(45, FontHeight(5) + FontHeight(2));  // the header the page layout is built around
    EXPECT_LE(FontHeight(1), 17);                  // wrapped lines stand 17 pixels apart
    EXPECT_LE(FontHeight(1), 20 - 2);              // and captions fit the 20-pixel buttons
}

TEST_F(RealFontsTest, EveryCharacterTheWizardDrawsHasABitmapInFonts125) {
    for (int slot : {1, 2, 5})
        for (const char* text : WizardTexts())
            for (const char* p = text; *p != 0; ++p) {
                const uint8_t byte = static_cast<uint8_t>(*p);
                if (byte == ' ') continue;
                EXPECT_NE(nullptr, FontOf(slot).glyphs[byte].bitmap)
                    << "font " << slot << " has no bitmap for byte " << int{byte} << " of \"" << text << "\"";
            }
}

TEST_F(RealFontsTest, CodesHoldTheirWindows1252Characters) {
    for (int slot = 0; slot < FontSlotCount; ++slot) {
        const Font& font = FontOf(slot);
        // Every defined character but the blank ones has ink; the undefined codes have no
        // bitmap and no width, so they take no room.
        for (int code = 33; code <= 255; ++code) {
            const bool undefined = code == 127 || code == 129 || code == 141 || code == 143 || code == 144 || code == 157;
            if (code == 160) continue;  // no-break space
            EXPECT_EQ(!undefined, font.glyphs[code].bitmap != nullptr) << "font " << slot << " code " << code;
            if (undefined) {
                EXPECT_EQ(0, font.glyphs[code].width) << "font " << slot << " code " << code;
            }
        }
        EXPECT_EQ(nullptr, font.glyphs[160].bitmap);
        EXPECT_EQ(font.glyphs[' '].width, font.glyphs[160].width);
        // Letters that differ only by their accent have different bitmaps: a at 97, then
        // à á â ã ä å at 224-229; e at 101, è é ê ë at 232-235.
        auto same = [&](int a, int b) {
            const Glyph& x = font.glyphs[a];
            const Glyph& y = font.glyphs[b];
            return x.width == y.width && std::equal(x.bitmap, x.bitmap + font.height * x.bytesPerRow, y.bitmap);
        };
        for (const std::vector<int>& group : {std::vector<int>{97, 224, 225, 226, 227, 228, 229},
                                               std::vector<int>{101, 232, 233, 234, 235}})
            for (int a : group)
                for (int b : group)
                    if (a < b) {
                        EXPECT_FALSE(same(a, b)) << "font " << slot << ": " << a << " and " << b;
                    }
    }
}

TEST_F(RealFontsTest, DrawnTextEndsExactlyWhereTextWidthSays) {
    // Glyph cells are cut to their ink, so a text that starts and ends with a visible character
    // paints its first and last columns at x and x + TextWidth - 1.
    for (int slot : {1, 2, 5})
        for (const char* text : WizardTexts()) {
            const size_t length = std::strlen(text);
            if (length == 0 || text[0] == ' ' || text[length - 1] == ' ') continue;
            const int width = TextWidth(slot, text);
            if (width > 540) continue;  // the long paragraphs are wrapped before they are drawn
            Fill(ColourWhite);
            ASSERT_EQ(0, DrawText(5, 100, slot, ColourBlack, text));
            int first = -1, last = -1;
            for (int x = 0; x < Width(); ++x)
                for (int y = 0; y < Height(); ++y)
                    if (Pixel(x, y) != ColourWhite) {
                        if (first < 0) first = x;
                        last = x;
                    }
            EXPECT_EQ(5, first) << "font " << slot << " \"" << text << "\"";
            EXPECT_EQ(5 + width - 1, last) << "font " << slot << " \"" << text << "\"";
        }
}

// Paints the page the fonts are judged by: the wizard's blue ramp, a grey button-face panel,
// and fonts 1, 2 and 5 in black, blue and yellow on both.
void DrawTestPage(FrameBufferTest& test) {
    const int width = test.Width(), height = test.Height();
    for (int y = 0; y < height; ++y)
        DrawLine(0, static_cast<int16_t>(y), static_cast<int16_t>(width), static_cast<int16_t>(y), LineSolid,
                 static_cast<Rgb555>(23 - (23 * y) / height + 8));
    DrawText(10, 0, 5, ColourHeadingYellow, WindowTitle[LanguageSpanish]);
    DrawText(10, static_cast<int16_t>(FontHeight(5)), 2, ColourHeadingYellow, NewVersionText);
    const int panelTop = 50, panelBottom = 195;
    DrawRect(5, panelTop, static_cast<int16_t>(width - 6), panelBottom, RectFill, ColourButtonFace, RectKeepBackground);
    const Rgb555 colours[] = {ColourBlack, ColourBlue, ColourHeadingYellow};
    for (int half = 0; half < 2; ++half) {
        int y = half == 0 ? panelTop + 2 : panelBottom + 6;
        for (int slot : {1, 2}) {
            for (Rgb555 colour : colours) {
                DrawText(10, static_cast<int16_t>(y), slot, colour, kAccentedLettersOnce);
                y += FontHeight(slot);
            }
        }
        int x = 10;
        for (Rgb555 colour : colours) {
            DrawText(static_cast<int16_t>(x), static_cast<int16_t>(y), 5, colour, "\300\311\321\326 \345\347\351\370\374");
            x += TextWidth(5, "\300\311\321\326 \345\347\351\370\374") + 20;
        }
    }
}

TEST_F(RealFontsTest, TestPageDrawsEveryLineInsideTheWindow) {
    DrawTestPage(*this);
    EXPECT_EQ((DirtyRect{0, 549, 0, 349}), gFramework.dirtyRect);
    EXPECT_TRUE(PaddingIntact());
    EXPECT_LE(TextWidth(2, kAccentedLettersOnce), 530);  // every letter is on the page
    if (HeadlessCanWritePng()) {
        const std::string path = std::string(TLF_BINARY_DIR) + "/gfx_test_page.png";
        EXPECT_TRUE(WriteRgb555Png(path.c_str(), pixels_.data(), gFramework.pitch, Width(), Height())) << path;
    }
}

#ifndef _WIN32
// Runs tools/make_fonts.sh into a temporary folder and compares each file byte for byte with
// the committed one. Needs the make_font tool of this build and the Liberation typefaces.
TEST(GeneratedFontsTest, RegeneratingGivesTheCommittedBytes) {
    const std::string tool = std::string(TLF_BINARY_DIR) + "/make_font";
    if (!FileExists(tool)) GTEST_SKIP() << "no make_font tool at " << tool << " (build the make_font target)";
    for (const char* typeface : {"/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Regular.ttf",
                                 "/usr/share/fonts/truetype/liberation/LiberationSansNarrow-Bold.ttf",
                                 "/usr/share/fonts/truetype/liberation2/LiberationSans-Regular.ttf"})
        if (!FileExists(typeface))
            GTEST_SKIP() << "typeface " << typeface << " is not installed (Debian fonts-liberation, fonts-liberation2)";
    TempFolder out;
    const std::string command = "sh '" + std::string(TLF_SOURCE_DIR) + "/tools/make_fonts.sh' '" + out.path + "' '" +
                                tool + "' > '" + out.Join("log.txt") + "' 2>&1";
    ASSERT_EQ(0, std::system(command.c_str())) << command;
    for (const char* name : FontFileNames) {
        std::vector<unsigned char> made, committed;
        ASSERT_TRUE(ReadFileBytes(out.Join(name), &made)) << name;
        ASSERT_TRUE(ReadFileBytes(kFontFolder + "/" + name, &committed)) << name;
        EXPECT_TRUE(made == committed) << name << " differs from data/fonts (" << made.size() << " bytes made, "
                                       << committed.size() << " committed)";
    }
}
#endif

}  // namespace
